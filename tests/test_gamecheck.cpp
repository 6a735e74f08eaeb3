#include <QDateTime>
#include <QFile>
#include <QTest>

#include "GameCheck.h"
#include "ModelFakes.h"
#include "StockLines.h"

using namespace revlane;
using namespace revlane::test;

namespace {

const DefaultLines& Stock()
{
    static const DefaultLines stock = [] {
        DefaultLines lines;
        lines.Load();
        return lines;
    }();
    return stock;
}

// The text with "<NAME>" put in as the game's stock handling.cfg record of that vehicle ("<%NAME>" its
// boat's record), "<90>" as its default.ide line of model 90; "<NAME/n>" keeps the record's first n
// values, its identifier one of them, and "<NAME:c=v>" writes v as its value c.
QByteArray Expand(Game game, QByteArray text)
{
    for (qsizetype open; (open = text.indexOf('<')) >= 0;) {
        const qsizetype close = text.indexOf('>', open);
        QByteArray name = text.mid(open + 1, close - open - 1);
        const qsizetype cut = name.indexOf('/'), put = name.indexOf(':');
        const QByteArray key = name.left(std::min(cut < 0 ? name.size() : cut, put < 0 ? name.size() : put));
        const bool boat = key.startsWith('%');
        const std::optional<std::string> line = key.at(0) >= '0' && key.at(0) <= '9'
                                                    ? Stock().DefaultIdeLine(game, key.toInt())
                                                    : Stock().RecordLine(game, boat ? RecordKind::Boat : RecordKind::Vehicle, key.mid(boat).toStdString());
        QList<QByteArray> values = QByteArray::fromStdString(line.value_or("?")).simplified().split(' ');
        const QByteArray marker = boat ? values.takeFirst() + ' ' : QByteArray();
        if (cut >= 0)
            values = values.mid(0, name.mid(cut + 1).toInt());
        if (put >= 0) {
            const qsizetype equals = name.indexOf('=');
            values[name.mid(put + 1, equals - put - 1).toInt()] = name.mid(equals + 1);
        }
        text.replace(open, close - open + 1, key.at(0) >= '0' && key.at(0) <= '9' ? QByteArray::fromStdString(*line) : marker + values.join(' '));
    }
    return text;
}

// A file checked whole, the other file of its installation beside it where one is given.
struct Checked : OpenedFile {
    GameCheck check;
    Checked(FileKind kind, const QByteArray& bytes, Game game, const QByteArray& other = {})
        : OpenedFile(kind, bytes, game), check(doc, Stock(), install, platform::Disk())
    {
        if (!other.isNull()) {
            const QString path = dir.filePath(kind == FileKind::DefaultIde ? "handling.cfg" : "default.ide");
            WriteBytes(path, other);
            (kind == FileKind::DefaultIde ? install.HandlingFile : install.DefaultFile) = FsPath(path);
        }
        check.Finish();
    }
};

// Each finding as "line:col sentence", its line counted from 1.
QStringList Said(const GameCheck& check)
{
    QStringList said;
    for (const Finding& finding : check.Findings())
        said << QString("%1:%2 %3").arg(finding.line + 1).arg(finding.col).arg(QString::fromStdString(finding.says));
    return said;
}

// Every finding given as a piece of its sentence, after its "line:col" where it has one, apart by "|".
void CheckSaid(const QStringList& said, const QString& expected)
{
    const QStringList wanted = expected.split('|', Qt::SkipEmptyParts);
    QVERIFY2(said.size() == wanted.size(), qPrintable(said.join('\n')));
    for (qsizetype i = 0; i < said.size(); ++i) {
        const bool placed = wanted[i].section(' ', 0, 0).contains(':');
        const QString place = placed ? wanted[i].section(' ', 0, 0) + ' ' : QString();
        QVERIFY2(said[i].startsWith(place) && said[i].contains(wanted[i].mid(place.size())), qPrintable(said[i] + " / " + wanted[i]));
    }
}

QStringList Texts(const std::vector<Finding>& findings)
{
    QStringList list;
    for (const Finding& finding : findings)
        list << QString::fromStdString(finding.says);
    return list;
}

const FileKind cfg = FileKind::HandlingCfg, ide = FileKind::DefaultIde;
const QByteArray kEnd = ";the end\r\n";

}  // namespace

Q_DECLARE_METATYPE(revlane::GameCheck::Place)

class TestGameCheck : public QObject {
    Q_OBJECT
private slots:
    // Each rule on lines that break it, and on those that keep it; "|" between the findings.
    void rules_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("other");  // the installation's other file; none where null
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("file");      // the whole file's findings
        const Game gta3 = Game::Gta3, vice = Game::ViceCity;
        const QByteArray comment = ';' + QByteArray(200, 'x') + "\r\n";
        QTest::newRow("stock records") << cfg << gta3 << "; c\r\n<LANDSTAL>\r\n<IDAHO>\r\n" + kEnd << QByteArray() << "" << "";
        QTest::newRow("fewer values") << cfg << gta3 << "<LANDSTAL/30>\r\n" + kEnd << QByteArray() << "1:0 holds 29 of its 31 values" << "";
        QTest::newRow("no numbers") << cfg << gta3 << "<LANDSTAL:1=1,700>\r\n<IDAHO:9=x>\r\n<STINGER:1=1e3>\r\n<PEREN:15=Z>\r\n" + kEnd << QByteArray()
                                    << "1:1 reads this value as 1, since \"1,700\" is no number|2:9 as 0, since \"x\"" << "";
        QTest::newRow("unknown, repeated") << cfg << gta3 << "<LANDSTAL:0=MYCAR>\r\n<IDAHO>\r\n<IDAHO>\r\n" + kEnd << QByteArray()
                                           << "1:0 knows no vehicle MYCAR and cannot|3:0 IDAHO has a record on line 2 already" << "";
        QTest::newRow("long lines") << cfg << gta3 << comment + "<LANDSTAL>\r\n" + comment + "<IDAHO>" + QByteArray(120, ' ') + "\r\n" + kEnd + comment
                                    << QByteArray() << "3:0 Line 3 has 201 characters|4:0 Line 4 has" << "Line 1 has 201 characters";
        QTest::newRow("no end") << cfg << gta3 << QByteArray("<LANDSTAL>\r\n") << QByteArray() << "" << "has none, so it reads on";
        QTest::newRow("end without line end") << cfg << gta3 << QByteArray("<LANDSTAL>\r\n;the end") << QByteArray() << "" << "no line end after it";
        const QByteArray comments = QByteArray(';' + QByteArray(180, 'x') + "\r\n").repeated(300);  // 54,900 bytes
        QTest::newRow("55,000 bytes") << cfg << gta3 << comments + ';' + QByteArray(87, 'x') + "\r\n" + kEnd << QByteArray() << "" << "";
        QTest::newRow("55,001 bytes") << cfg << gta3 << comments + ';' + QByteArray(88, 'x') + "\r\n" + kEnd << QByteArray() << ""
                                      << "The game reads at most 55,000 bytes of handling.cfg; this file is 55,001 bytes and may crash it.";
        QTest::newRow("a boat's values") << cfg << vice << "<LANDSTAL>\r\n<%PREDATOR/10>\r\n<%SPEEDER>\r\n" + kEnd << QByteArray()
                                         << "2:0 holds 9 of its 14 values" << "";
        QTest::newRow("no boats in GTA III") << cfg << gta3 << "<LANDSTAL>\r\n% PREDATOR 0.79\r\n" + kEnd << QByteArray() << "2:0 knows no vehicle %" << "";
        QTest::newRow("default.ide names no record") << cfg << gta3 << "<LANDSTAL>\r\n" + kEnd << QByteArray("cars\r\n<90>\r\n<91>\r\nend\r\n")
                                                     << "" << "vehicles name IDAHO, which this file has no record for";
        QTest::newRow("nor for four") << cfg << gta3 << "<LANDSTAL>\r\n" + kEnd << QByteArray("cars\r\n<91>\r\n<92>\r\n<93>\r\n<94>\r\nend\r\n")
                                      << "" << "vehicles name IDAHO, STINGER, LINERUN and PEREN, which";

        const QByteArray cars = "# ids\r\ncars\r\n";
        QTest::newRow("stock cars") << ide << gta3 << cars + "<90>\r\n<110>\r\n<120>\r\n<124>\r\n<125>\r\n<140>\r\nend\r\n" << QByteArray() << "" << "";
        QTest::newRow("ids") << ide << gta3 << cars + "<90>\r\n151, a, a, car, LANDSTAL, A, big, 10, 7, 0, 160, 0.7\r\nx, a, a, car, LANDSTAL, A, big, 10, 7, 0, 160, 0.7\r\n"
                                                      "90, b, b, car, IDAHO, B, big, 10, 7, 0, 160, 0.7\r\nend\r\n"
                             << QByteArray() << "4:0 run from 90 to 150; it cannot use 151|5:0 cannot use x|6:0 Model id 90 is on line 3 already" << "";
        QTest::newRow("types and fields") << ide << gta3
                                          << cars + "91, a, a, truck, IDAHO, A, big, 10, 7, 0, 160, 0.7\r\n92, b, b, car, IDAHO, B, big, 10, 7, 0, 160,\r\n"
                                                    "93, c, c, car, IDAHO, C, null, big, 10, 7, 0, 160, 0.7\r\n94, d, d, boat, IDAHO, D, big, 10, 7, 0\r\nend\r\n"
                                          << QByteArray()
                                          << "3:3 no vehicle type \"truck\" (only car, boat, train, heli or plane)|4:0 A car holds 12 values in GTA III and this line only 11; the game leaves"
                                             "|5:0 this line 13; the game may read them into the wrong fields|5:6 no class \"null\"|5:10 Model 0 is none" << "";
        QTest::newRow("Vice City's fields") << ide << vice
                                            << cars + "<130>\r\n<136>\r\n<166>\r\n<180>\r\n140, a, a, plane, IDAHO, A, null, ignore, 10, 7, 0, 0\r\n"
                                                      "141, b, b, bike, IDAHO, B, null, taxi, 10, 7, 0, 23, 0.6\r\n142, c, c, train, IDAHO, C, null, ignore, 10, 7, 0\r\nend\r\n"
                                            << QByteArray() << "9:3 no vehicle type \"train\" (only car, boat, heli, plane or bike)" << "";
        QTest::newRow("names, classes, wheels") << ide << gta3
                                                << cars + "90, a, a, car, LANDSTAL, LANDSTALX, normal, 10, 7, 0, 170, 0.7\r\n91, a, a, car, IDAHO, IDAHO, taxi, 10, 7, 0, 166, 0.7\r\nend\r\n"
                                                << QByteArray() << "3:5 \"LANDSTALX\" has 9, which spill|3:6 no class \"normal\"|3:10 Model 170 is none of the game's wheels (160 to 166)" << "";
        QTest::newRow("Vice City's wheels") << ide << vice << cars + "130, a, a, car, LANDSTAL, A, null, normal, 10, 7, 0, 249, 0.7\r\n131, a, a, car, IDAHO, B, null, normal, 10, 7, 0, 250, 0.7\r\nend\r\n"
                                            << QByteArray() << "3:11 (237 to 239 and 250 to 256)" << "";
        QTest::newRow("handling.cfg's records") << ide << gta3 << cars + "<90>\r\n<91>\r\nend\r\n" << "<IDAHO>\r\n;<LANDSTAL>\r\n" + kEnd + "<LANDSTAL>\r\n"
                                                << "3:4 handling.cfg has no record for LANDSTAL, so the game may crash at start." << "";
    }
    void rules()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, other);
        QFETCH(QString, found);
        QFETCH(QString, file);
        const QByteArray bytes = Expand(game, text);
        Checked checked(kind, bytes, game, other.isNull() ? other : Expand(game, other));
        QVERIFY(checked.check.Complete());
        CheckSaid(Said(checked.check), found);
        CheckSaid(Texts(checked.check.FileFindings()), file);
        QCOMPARE(ReadBytes(checked.path), bytes);  // the check changes no byte
    }
    // What the game reads as a number, in the middle of a line and at its end.
    void numbers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("read");  // what the game reads; empty: the value itself
        for (const char* value : {"1700.0", "-0.25", "+5", "5.", ".5", "1e3", "12345678901", "2.5E-2"})
            QTest::newRow(value) << QByteArray(value) << "";
        const std::pair<const char*, const char*> others[] = {{"1,5", "1"}, {"0x10", "0"}, {"1-2", "1"}, {"1.2.3", "1.2"}, {"-", "0"},
                                                              {".", "0"}, {"\xB0", "0"}, {"5\xB0", "5"}, {"1234567a", "1234567"}, {"1e", "1"}};
        for (const auto& [value, read] : others)
            QTest::newRow(QString::fromLatin1(value).toUtf8().constData()) << QByteArray(value) << read;
    }
    void numbers()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, read);
        for (const char* col : {"1", "31"}) {
            Checked checked(cfg, Expand(Game::Gta3, "<LANDSTAL:" + QByteArray(col) + "=" + value + ">\r\n" + kEnd), Game::Gta3);
            const QString said = read.isEmpty() ? "" : QString("1:%1 reads this value as %2, since").arg(col, read);
            CheckSaid(Said(checked.check), said);
        }
    }

    // The games' own files carry nothing the games trip on but GTA III's handling.cfg, whose
    // ";the end" has no line end after it; modders' files carry what they added.
    void fixtures_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("ide");
        QTest::addColumn<QString>("cfg");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("file");
        const Game gta3 = Game::Gta3, vice = Game::ViceCity;
        const QString g3 = "gta3/data/", vc = "vc/data/", mod = "modded/";
        const QString noLineEnd = "The line \";the end\" has no line end after it";
        QTest::newRow("GTA III default.ide") << gta3 << g3 + "default.ide" << g3 + "handling.cfg" << ide << 0 << "" << "";
        QTest::newRow("GTA III handling.cfg") << gta3 << g3 + "default.ide" << g3 + "handling.cfg" << cfg << 0 << "" << noLineEnd;
        QTest::newRow("Vice City default.ide") << vice << vc + "default.ide" << vc + "handling.cfg" << ide << 0 << "" << "";
        QTest::newRow("Vice City handling.cfg") << vice << vc + "default.ide" << vc + "handling.cfg" << cfg << 0 << "" << "";
        QTest::newRow("GTA III cars added") << gta3 << mod + "gta3-added-cars_default.ide" << mod + "gta3-added-cars_handling.cfg" << ide << 9
                                            << "122:0 The game's vehicle ids run from 90 to 150; it cannot use 151" << "";
        QTest::newRow("their records") << gta3 << mod + "gta3-added-cars_default.ide" << mod + "gta3-added-cars_handling.cfg" << cfg << 9
                                       << "123:0 The game knows no vehicle EXSESS" << noLineEnd;
        QTest::newRow("a Vice City mod") << vice << mod + "vc-mod_default.ide" << vc + "handling.cfg" << ide << 17 << "193:11 Model 8 is none" << "";
        QTest::newRow("a generated handling.cfg") << vice << mod + "vc-mod_default.ide" << mod + "vc-generated_handling.cfg" << cfg << 3
                                                  << "73:0 The game knows no vehicle MAN " << "name MANANA and RCCOPTER, which";
        QTest::newRow("a tabbed handling.cfg") << vice << mod + "vc-mod_default.ide" << mod + "vc-tabbed_handling.cfg" << cfg << 0 << ""
                                               << "name KURUMA, which";
    }
    void fixtures()
    {
        QFETCH(Game, game);
        QFETCH(QString, ide);
        QFETCH(QString, cfg);
        QFETCH(FileKind, kind);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, file);
        REVLANE_REQUIRE_FIXTURE(ide, idePath);
        REVLANE_REQUIRE_FIXTURE(cfg, cfgPath);
        Harness h;
        h.install.DefaultFile = FsPath(idePath);
        h.install.HandlingFile = FsPath(cfgPath);
        QVERIFY(h.doc.Open(kind, game));
        GameCheck check(h.doc, Stock(), h.install, platform::Disk());
        const std::vector<std::string> lines = h.doc.Lines();
        check.Finish();
        const QStringList said = Said(check);
        QVERIFY2(said.size() == count, qPrintable(said.join('\n')));
        QVERIFY(count == 0 || said[0].startsWith(first));
        CheckSaid(Texts(check.FileFindings()), file);
        QVERIFY(h.doc.Lines() == lines && !h.doc.Modified());
    }

    // A change is marked at once and counted at the next update; a record changed into another
    // vehicle's puts the repeats right.
    void changes()
    {
        Checked file(cfg, Expand(Game::Gta3, "<LANDSTAL>\r\n<LANDSTAL>\r\n<IDAHO>\r\n" + kEnd), Game::Gta3);
        GameCheck& check = file.check;
        QCOMPARE(Said(check), QStringList{"2:0 LANDSTAL has a record on line 1 already; the game uses only one of them."});
        std::vector<LineChange> edit{*file.doc.EditCell(2, 1, "abc")};
        QCOMPARE(check.At(2, 1).size(), size_t(1));
        QCOMPARE(check.Count(), 1LL);
        check.Update();
        QCOMPARE(check.Summary(), std::string("2 problems the game may trip on: F8 goes to the next"));
        file.doc.Undo(edit);
        std::vector<LineChange> other{*file.doc.ReplaceLine(0, Expand(Game::Gta3, "<LANDSTAL:0=MYCAR>").toStdString())};
        check.Finish();
        CheckSaid(Said(check), "1:0 knows no vehicle MYCAR");
        file.doc.Undo(other);
        check.Finish();
        CheckSaid(Said(check), "2:0 LANDSTAL has a record on line 1");
    }

    // The other file is read again with the next read of the open one once it changed, even with
    // its time put back; one read too soon after a change for its times to tell is read always.
    void otherFileChanged()
    {
        Checked file(ide, Expand(Game::Gta3, "cars\r\n<90>\r\nend\r\n"), Game::Gta3, Expand(Game::Gta3, "<IDAHO>\r\n" + kEnd));
        const QString other = file.dir.filePath("handling.cfg");
        const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
        const auto again = [&](const QByteArray& content) {
            if (!content.isNull())
                WriteBytes(other, Expand(Game::Gta3, content));
            QFile times(other);
            QVERIFY(times.open(QIODevice::ReadWrite) && times.setFileTime(hourAgo, QFileDevice::FileModificationTime));
            times.close();
            QVERIFY(file.doc.Open(FileKind::DefaultIde, Game::Gta3));
            file.check.Finish();
        };
        const QString missing = "2:4 handling.cfg has no record for LANDSTAL";
        CheckSaid(Said(file.check), missing);
        again(QByteArray());
        CheckSaid(Said(file.check), missing);
        again("<LANDSTAL>\r\n" + kEnd);
        QCOMPARE(Said(file.check), QStringList());
        WriteBytes(other, Expand(Game::Gta3, "<IDAHO>\r\n" + kEnd));
        QVERIFY(file.doc.Open(FileKind::DefaultIde, Game::Gta3));
        file.check.Finish();
        CheckSaid(Said(file.check), missing);
    }

    // A file far past the limits is checked a slice at a time, counted as a floor until the last.
    void largeFile()
    {
        const QByteArray bytes = Expand(Game::Gta3, "<LANDSTAL>\r\n<IDAHO>\r\n<STINGER>\r\n<PEREN>\r\n").repeated(10'000) + kEnd;
        OpenedFile file(cfg, bytes);
        GameCheck check(file.doc, Stock(), file.install, platform::Disk());
        QVERIFY(!check.Advance(1000));
        const QString said = QString::fromStdString(check.Summary());
        QVERIFY2(said.startsWith(QString("The game reads at most 55,000 bytes of handling.cfg; this file is %L1 bytes").arg(bytes.size()))
                     && said.endsWith("At least 996 problems the game may trip on: F8 goes to the next"), qPrintable(said));
        check.Finish();
        QCOMPARE(check.Count(), 39'996LL);
        // A change of every row leaves the count as a floor until its lines are checked again.
        std::vector<CellEdit> edits;
        for (int row = 0; row < file.doc.RowCount(); ++row)
            edits.push_back({row, 1, "abc"});
        file.doc.EditCells(edits);
        QVERIFY(!check.Advance(1000) && check.Summary().find("At least ") != std::string::npos);
        while (!check.Advance(100)) {
        }
        QCOMPARE(check.Count(), 79'996LL);
        // Its lengths too are taken by the slices: the size said is the file's after the change.
        size_t size = 0;
        for (size_t line = 0; line < file.doc.Lines().size(); ++line)
            size += file.doc.Lines()[line].size() + text::EndBytes(file.doc.EndOf(line)).size();
        QVERIFY(check.Summary().find("this file is " + QString("%L1").arg(size).toStdString() + " bytes") != std::string::npos);
        QCOMPARE(ReadBytes(file.path), bytes);
    }

    // F8 and Shift+F8 go through the findings in reading order, the views in turn, round the end.
    void next()
    {
        Checked file(cfg, Expand(Game::ViceCity, "<LANDSTAL>\r\n<IDAHO:3=x>\r\n<STINGER:0=MYCAR>\r\nPEREN 1700.0 x 5.0 y\r\n<%PREDATOR/10>\r\n" + kEnd),
                     Game::ViceCity);
        const auto walk = [&](GameCheck::Place from, bool forward, int steps) {
            QStringList cells;
            for (int i = 0; i < steps; ++i) {
                from = file.check.Next(from, forward).value_or(GameCheck::Place{-1, -1, -1});
                cells << QString("%1,%2,%3").arg(from.view).arg(from.row).arg(from.col);
            }
            return cells.join(' ');
        };
        QCOMPARE(walk({0, -1, -1}, true, 7), QString("0,1,3 0,2,0 0,3,0 0,3,2 0,3,4 1,0,0 0,1,3"));
        QCOMPARE(walk({0, 1, 3}, false, 3), QString("1,0,0 0,3,4 0,3,2"));
        QCOMPARE(walk({1, 0, 0}, true, 1), QString("0,1,3"));
    }

    // What a save's header adds is foreseen to the byte, ";the end" is never written over, and a
    // save that would give the game a file past its limits is asked about first.
    void saving_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("question");  // "%1": the size saved
        const QByteArray comments = QByteArray(';' + QByteArray(180, 'x') + "\r\n").repeated(300);
        QTest::newRow("comments first") << cfg << "; a\r\n; b\r\n<LANDSTAL>\r\n" + kEnd << "";
        QTest::newRow("a record first") << cfg << "<LANDSTAL>\r\n" + kEnd << "";
        QTest::newRow(";the end second") << cfg << "; a\r\n" + kEnd << "";
        QTest::newRow(";the end alone") << cfg << QByteArray(";the end") << "";
        QTest::newRow("line feeds") << cfg << QByteArray("; a\n<LANDSTAL>\n;the end\n") << "";
        QTest::newRow("byte-order mark") << cfg << "\xEF\xBB\xBF; a\r\n; b\r\n" + kEnd << "";
        QTest::newRow("empty") << cfg << QByteArray("") << "";
        QTest::newRow("default.ide") << ide << QByteArray("# a\ncars\nend\n") << "";
        QTest::newRow("default.ide, no comment") << ide << QByteArray("cars\r\nend") << "";
        QTest::newRow("a long first comment") << cfg << ';' + QByteArray(250, 'x') + "\r\n<LANDSTAL>\r\n" + kEnd << "";
        QTest::newRow("55,000 bytes and more") << cfg << "; a\r\n; b\r\n" + comments + kEnd
                                               << "The game reads at most 55,000 bytes of handling.cfg; this file would be %1 bytes. Save anyway?";
        QTest::newRow("200 characters") << cfg << "; a\r\n; b\r\n;" + QByteArray(199, 'x') + "\r\n<LANDSTAL>\r\n" + kEnd << "";
        QTest::newRow("a long line") << cfg << "; a\r\n<LANDSTAL>" + QByteArray(120, ' ') + "\r\n" + kEnd
                                     << "The game reads at most 200 characters a line of handling.cfg; this file would have a line of 258 characters. Save anyway?";
    }
    void saving()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, text);
        QFETCH(QString, question);
        const QByteArray bytes = Expand(Game::Gta3, text);
        Checked file(kind, bytes, Game::Gta3);
        const long long growth = file.doc.SaveGrowth(file.doc.HeaderLine());
        const QString asked = QString::fromStdString(file.check.SaveQuestion(growth));
        QVERIFY(file.doc.Save());
        const QByteArray saved = ReadBytes(file.path);
        QCOMPARE(saved.size(), bytes.size() + growth);
        QCOMPARE(saved.contains(";the end"), bytes.contains(";the end"));
        QCOMPARE(asked, question.contains("%1") ? question.arg(QLocale(QLocale::English).toString(saved.size())) : question);
        file.check.Saved();
        file.check.Finish();
        QCOMPARE(file.check.SaveQuestion(0), asked.toStdString());
        // What the check knows after the save is what it finds in the file saved.
        Checked again(kind, saved, Game::Gta3);
        QCOMPARE(Texts(file.check.FileFindings()), Texts(again.check.FileFindings()));
        QCOMPARE(Said(file.check), Said(again.check));
    }
};

QTEST_MAIN(TestGameCheck)
#include "test_gamecheck.moc"
