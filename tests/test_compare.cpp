#include <QRegularExpression>
#include <QTest>

#include <memory>

#include "CellMarks.h"
#include "Compare.h"
#include "CompareFields.h"
#include "ModelFakes.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

const FileKind cfg = FileKind::HandlingCfg, ide = FileKind::DefaultIde;

const DefaultLines& Stock()
{
    static const DefaultLines stock = [] {
        DefaultLines lines;
        lines.Load();
        return lines;
    }();
    return stock;
}

// The other file beside the open one, in its own folder.
struct Pair : OpenedFile {
    QTemporaryDir otherDir;
    std::string why;
    std::unique_ptr<Comparison> comparison;

    Pair(FileKind kind, const QByteArray& open, Game game = Game::Gta3) : OpenedFile(kind, open, game) {}
    bool CompareWith(const QString& otherPath)
    {
        comparison = Comparison::Make(doc, FsPath(otherPath), {messages, errors, clock, platform::Disk()}, Stock(), why);
        return comparison != nullptr;
    }
    bool CompareWithBytes(const QByteArray& bytes)
    {
        const QString other = otherDir.filePath("other.cfg");
        WriteBytes(other, bytes);
        return CompareWith(other);
    }
    // What the user is told: the summary, the refusal, or the document's message.
    QString Said() const
    {
        if (comparison)
            return QString::fromStdString(CompareSummary(comparison->Name(), comparison->Counts()));
        return QString::fromStdString(why.empty() && !messages.shown.empty() ? messages.shown.back().text : why);
    }
    QString OnlyThere() const
    {
        QStringList names;
        for (const TheirRecord& record : comparison->OnlyThere())
            names << QString::fromStdString(record.name);
        return names.join(',');
    }
    // The file as a save writes it, a bar for each CR LF and @ for the header.
    QByteArray Saved()
    {
        doc.Save();
        return ReadBytes(path).replace("\r\n", "|").replace(";" + QByteArray(kHeader), "@");
    }
};

QByteArray Fixture(const char* relative)
{
    return ReadBytes(FixturesDir() + "/" + relative);
}

}  // namespace

// The open file beside another of its kind: which of the other's values differ and which vehicles
// only one of them holds, vehicle by vehicle and field by field; the other's values and vehicles
// taken over, and given back by their undo byte for byte.
class TestCompare : public QObject {
    Q_OBJECT
private slots:
    // The games' files against modded ones, and what cannot be compared, said plainly.
    void files_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("theirs");  // "identifier col=value", a differing cell
        QTest::addColumn<QString>("only");    // the vehicles only the other file holds
        const Game vc = Game::ViceCity, gta3 = Game::Gta3;
        QTest::newRow("a generator's file") << vc << cfg << "vc/data/handling.cfg" << "modded/vc-generated_handling.cfg"
            << "Compared with vc-generated_handling.cfg: 1198 values differ in 60 vehicles; 2 vehicles only there; 2 only here"
            << "IDAHO 1=1900.0" << "MAN,VICECHEE";
        QTest::newRow("tabs and padding") << vc << cfg << "vc/data/handling.cfg" << "modded/vc-tabbed_handling.cfg"
            << "Compared with vc-tabbed_handling.cfg: 250 values differ in 47 vehicles; 3 vehicles only here" << "" << "";
        QTest::newRow("added cars") << gta3 << cfg << "gta3/data/handling.cfg" << "modded/gta3-added-cars_handling.cfg"
            << "Compared with gta3-added-cars_handling.cfg: no value differs; 9 vehicles only there" << ""
            << "EXSESS,ARGENTO,HEARSE,VBGHOST,ESPRIT,SHELBY,BALLOT,CAMPVAN,HOTROD";
        QTest::newRow("added models") << vc << ide << "vc/data/default.ide" << "modded/vc-mod_default.ide"
            << "Compared with vc-mod_default.ide: 15 values differ in 15 vehicles; 3 vehicles only there" << ""
            << "237 delorean,238 rogers,239 timetrain";
        QTest::newRow("the other kind") << vc << cfg << "vc/data/handling.cfg" << "vc/data/default.ide"
            << "default.ide is a default.ide, not a handling.cfg: nothing was compared." << "" << "";
        QTest::newRow("no cars section") << vc << ide << "vc/data/default.ide" << "vc/data/handling.cfg"
            << "handling.cfg is no default.ide (it has no cars section): nothing was compared." << "" << "";
        QTest::newRow("the other game's") << gta3 << cfg << "gta3/data/handling.cfg" << "vc/data/handling.cfg"
            << "handling.cfg holds Vice City's vehicles, and the open file is GTA III's: nothing was compared." << "" << "";
        QTest::newRow("the other game's ids") << vc << ide << "vc/data/default.ide" << "gta3/data/default.ide"
            << "default.ide holds GTA III's vehicles, and the open file is Vice City's: nothing was compared." << "" << "";
        QTest::newRow("itself") << vc << cfg << "vc/data/handling.cfg" << "vc/data/../data/handling.cfg"
            << "handling.cfg is the open file itself: nothing was compared." << "" << "";
        QTest::newRow("not there") << vc << cfg << "vc/data/handling.cfg" << "vc/data/nothing.cfg"
            << "The file " + QDir::toNativeSeparators(FixturesDir() + "/vc/data/nothing.cfg") + " was not found." << "" << "";
    }
    void files()
    {
        QFETCH(Game, game);
        QFETCH(FileKind, kind);
        QFETCH(QString, open);
        QFETCH(QString, other);
        QFETCH(QString, theirs);
        REVLANE_REQUIRE_FIXTURE(open, path);
        Pair h(kind, Fixture(qPrintable(open)), game);
        h.Open(kind, game, FsPath(path));
        const bool made = h.CompareWith(FixturesDir() + "/" + other);
        QCOMPARE(made, h.Said().startsWith("Compared"));
        QTEST(h.Said(), "said");
        if (!h.comparison)
            return;
        QTEST(h.OnlyThere(), "only");
        if (!theirs.isEmpty()) {
            const auto at = h.doc.FindRecord(RecordKind::Vehicle, theirs.section(' ', 0, 0).toStdString());
            QVERIFY(at);
            const int col = theirs.section(' ', 1).section('=', 0, 0).toInt();
            QCOMPARE(QString::fromStdString(*h.comparison->Theirs(at->second, col)), theirs.section('=', 1));
        }
    }

    // Values are the same where they are the same number, however it is written.
    void sameValue_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("same");
        const QByteArray longer = "0.1000000000000000000001";
        for (const auto& [a, b, same] : std::initializer_list<std::tuple<const char*, const char*, bool>>{
                 {"1700", "1700.0", true}, {"05", "5.00", true}, {"-0", "0.0", true}, {"+1.5", "1.50", true}, {".5", "0.5", true},
                 {"5.", "5", true}, {"1.5", "1.05", false}, {"-1", "1", false}, {"10", "1", false}, {"R", "r", false},
                 {"0.30000000000000004", "0.3", false}, {longer.constData(), "0.1", true}, {"C00B", "C00B ", true}, {"", "0", false}})
            QTest::addRow("%s %s", a, b) << QByteArray(a) << QByteArray(b) << same;
    }
    void sameValue()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(bool, same);
        QCOMPARE(compare::SameField(a.toStdString(), b.toStdString()), same);
        QCOMPARE(compare::SameField(b.toStdString(), a.toStdString()), same);
        QCOMPARE(SameValue(a.toStdString(), b.toStdString()), same);
    }

    // A large file's rows are counted in two halves at once: every row of each half counts once.
    void largeFile()
    {
        QByteArray open = "LANDSTAL 1700.0 2.0 5.0\r\n", other = open;
        for (int n = 0; n < 100'000; ++n) {
            const QByteArray name = "V" + QByteArray::number(n);
            open += name + " 1700.0 2.0 5.0\r\n";
            if (n != 10 && n != 90'000)
                other += name + (n % 7 == 0 ? " 1800.0" : " 1700") + " 2.0 5.0\r\n";
        }
        other += "W1 1.0\r\nW2 1.0\r\n";
        Pair h(cfg, open);
        QVERIFY2(h.CompareWithBytes(other), qPrintable(h.Said()));
        const CompareCounts& counts = h.comparison->Counts();
        QCOMPARE(std::tuple(counts.values, counts.vehicles, counts.onlyHere, counts.onlyThere), std::tuple(14'286LL, 14'286LL, 2LL, 2LL));
    }

    // A file that holds a vehicle twice is compared with its first line, and the user is told.
    void twiceThere()
    {
        Pair h(cfg, kSmallCfg);
        QVERIFY2(h.CompareWithBytes("IDAHO 1600.0 2.2\r\nLANDSTAL 1700 2.0 5.0\r\nIDAHO 1.0 2.2\r\n"), qPrintable(h.Said()));
        QCOMPARE(h.Said(), "Compared with other.cfg: no value differs; 1 vehicle only here; IDAHO is there more than once: its first line is compared");
        QVERIFY(!h.comparison->Theirs(3, 1));
    }

    // The differing cells of the view shown, the way round them, and their values taken over.
    // The open file's rows: 0 LANDSTAL 1700.0 2.0 5.0, 1 a title, 2 BIKE 500.0 1.0, 3 IDAHO 1600.0 2.2.
    void cells_data()
    {
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<QString>("op");       // "next r,c", "back r,c", "take r,c-r,c"
        QTest::addColumn<QString>("result");  // the cell reached, or "edits/left out"; "none"
        QTest::addColumn<QString>("cells");    // after the take: "row,col=value", apart by ";"
        const QByteArray mod = "LANDSTAL  1700 2.5 5.0\r\nIDAHO 1600.0 2.2 9\r\nNEWCAR 1 2 3\r\n";
        QTest::newRow("numbers as numbers") << mod << "next 0,0" << "0,2" << "";
        QTest::newRow("next row") << mod << "next 0,2" << "3,3" << "";
        QTest::newRow("round the end") << mod << "next 3,3" << "0,2" << "";
        QTest::newRow("back round the start") << mod << "back 0,2" << "3,3" << "";
        QTest::newRow("the only one") << QByteArray("LANDSTAL 1700 2.5 5.0") << "next 0,2" << "0,2" << "";
        QTest::newRow("none") << QByteArray("LANDSTAL 1700 2.0 5") << "next 0,1" << "none" << "";
        QTest::newRow("take") << mod << "take 0,1-3,3" << "2/7" << "0,2=2.5;3,3=9;0,1=1700.0;2,1=500.0";
        // An empty value before others would move them: it stays, the last one goes.
        QTest::newRow("a gap") << QByteArray("LANDSTAL 1700.0") << "take 0,2-0,3" << "1/1" << "0,2=2.0;0,3=";
        QTest::newRow("nothing differs") << mod << "take 0,1-0,1" << "0/1" << "";
    }
    void cells()
    {
        QFETCH(QByteArray, other);
        QFETCH(QString, op);
        QFETCH(QString, cells);
        Pair h(cfg, kSmallCfg);
        QVERIFY2(h.CompareWithBytes(other), qPrintable(h.Said()));
        const QStringList at = op.section(' ', 1).split(QRegularExpression("[,-]"));
        if (!op.startsWith("take")) {
            const auto next = h.comparison->Next(at[0].toInt(), at[1].toInt(), op.startsWith("next"));
            QTEST(next ? QString("%1,%2").arg(next->first).arg(next->second) : QString("none"), "result");
            return;
        }
        const std::vector<std::string> before = h.doc.Lines();
        const RangeWork work = h.comparison->TakeValues({at[0].toInt(), at[1].toInt(), at[2].toInt(), at[3].toInt()});
        QTEST(QString("%1/%2").arg(work.edits.size()).arg(work.leftOut), "result");
        std::vector<LineChange> changes = h.doc.EditCells(work.edits);
        if (!cells.isEmpty())
            CheckCells(h.doc, cells.split(';'));
        // What was taken differs no more.
        for (const CellEdit& edit : work.edits)
            QVERIFY(!h.comparison->Theirs(edit.row, edit.col));
        h.doc.Undo(changes);
        QCOMPARE(h.doc.Lines(), before);
    }

    // The vehicles only the other file holds go in at the end of their kind's records, as that
    // file has them, each line ending as the file's lines do; their undo takes them out again, and
    // the file is saved as it was, even after a save put the header above them.
    void records_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QByteArray>("open");
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<QByteArray>("saved");  // a bar is CR LF, @ the header
        const QByteArray boats = "LANDSTAL 1700.0\n%\tPREDATOR 1\n!\tBIKE 2\n;the end\n";
        const QByteArray more = "LANDSTAL 1700.0\nCAR 5\n%\tPREDATOR 1\n%  SPEEDER 3\n!\tBIKE 2\n$\tSKIMMER 4\n;the end\n";
        QTest::newRow("after the last of its kind") << cfg << Game::Gta3 << kSmallCfg << QByteArray("NEWCAR  1  2\r\nIDAHO 1 2\r\n")
                                                    << QByteArray("@|;|LANDSTAL        1700.0 2.0 5.0|;- bikes|BIKE           500.0 1.0|IDAHO          1600.0 2.2|NEWCAR  1  2|; A end|");
        QTest::newRow("after a last line without an end") << cfg << Game::Gta3 << QByteArray("LANDSTAL 1\r\nIDAHO 2") << QByteArray("NEWCAR 3\n")
                                                          << QByteArray("@|;|LANDSTAL 1|IDAHO 2|NEWCAR 3");
        QTest::newRow("each kind after its own") << cfg << Game::ViceCity << boats << more
                                                 << QByteArray("@\n;\nLANDSTAL 1700.0\nCAR 5\n%\tPREDATOR 1\n%  SPEEDER 3\n!\tBIKE 2\n$\tSKIMMER 4\n;the end\n");
        const QByteArray car = "90, landstal, landstal, car, LANDSTAL, LANDSTK, richfamily, 10, 7, 0, 164, 0.8";
        QTest::newRow("an empty cars section") << ide << Game::Gta3 << QByteArray("# c\r\ncars\r\nend\r\n") << "cars\r\n" + car + "\r\nend\r\n"
                                               << "#" + QByteArray(kHeader) + "|cars|" + car + "|end|";
    }
    void records()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QByteArray, open);
        QFETCH(QByteArray, other);
        Pair h(kind, open, game);
        QVERIFY2(h.CompareWithBytes(other), qPrintable(h.Said()));
        std::array<RecordLines, kRecordKinds> byKind;
        for (const TheirRecord& record : h.comparison->OnlyThere()) {
            byKind[size_t(record.kind)].kind = record.kind;
            byKind[size_t(record.kind)].lines.push_back(record.line);
        }
        const std::vector<RecordLines> taken(byKind.begin(), byKind.end());
        QVERIFY(h.doc.InsertRecords(taken));
        QVERIFY(!h.comparison->OnlyThere().size());
        QTEST(h.Saved(), "saved");
        // Taken out after a save, the file has changes to save again.
        QVERIFY(h.doc.RemoveRecords(taken) && h.doc.Modified());
        QCOMPARE(h.Saved(), Pair(kind, open, game).Saved());
        // Undone once, there is nothing more of them to take out.
        QVERIFY(!h.doc.RemoveRecords(taken) || taken[0].lines.empty());
    }

    // default.ide's vehicles go at the end of its cars section, whatever follows it.
    void carsSection()
    {
        REVLANE_REQUIRE_FIXTURE("gta3/data/default.ide", path);
        Pair h(ide, Fixture("gta3/data/default.ide"));
        QVERIFY(h.CompareWith(FixturesDir() + "/modded/gta3-added-cars_default.ide"));
        std::vector<RecordLines> taken(1);
        for (const TheirRecord& record : h.comparison->OnlyThere())
            taken[0].lines.push_back(record.line);
        const std::vector<std::string> before = h.doc.Lines();
        QVERIFY(h.doc.InsertRecords(taken));
        const auto first = h.doc.FindRecord(RecordKind::Vehicle, "151");
        QVERIFY(first);
        QCOMPARE(first->second, 61);
        QCOMPARE(h.doc.RecordCount(0), 70);
        QCOMPARE(h.doc.Lines()[size_t(h.doc.LineOfRow(69) + 1)], std::string("end"));
        QVERIFY(h.doc.RemoveRecords(taken));
        QCOMPARE(h.doc.Lines(), before);
    }
};

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
