#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ExpressImport.h"
#include "ModelFakes.h"

using namespace revlane;
using namespace revlane::test;

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)

namespace {

const QStringList kGta3Ide = {
    "# test file",
    "cars",
    "90,\tlandstal, \tlandstal, \tcar, \tLANDSTAL, \tLANDSTK, \t\trichfamily, \t10,\t7,\t0,\t164, 0.8",
    "91, idaho, idaho, car, IDAHO, IDAHO, poorfamily, 10, 7, 0, 163, 0.64",
    "1100, bigone, bigone, car, BIGONE, BIGONE, normal, 10, 7, 0, 163, 0.7",
    "110, taxi, taxi, car, TAXI, TAXI, taxi, 10, 7, 0, 163, 0.7",
    "95, sentinel, sentinel, car, SENTINEL, SENTINL, richfamily, 10, 7, 0, 163, 0.7",
    "150, ghost, ghost, boat, PREDATOR, GHOST, ignore, 1, 7, 0",
    "end",
};
// A Vice City file with one GTA III id among its cars.
const QStringList kViceIde = {
    "cars",
    "130, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 7, 0, 254, 0.8",
    "90, oddity, oddity, car, ODDITY, ODDITY, null, normal, 10, 7, 0, 254, 0.8",
    "151, washing, washing, car, WASHING, WASHING, null, executive, 10, 7, 0, 250, 0.7",
    "236, vicechee, vicechee, car, VICECHEE, VICECHE, null, executive, 10, 7, 0, 237, 0.7",
    "end",
};
const QStringList kGta3Cfg = {
    "; test file",
    ";",
    "LANDSTAL        1700.0 2.0 5.0",
    "IDAHO           1600.0 1.9 5.0",
    "BORGNINE        1900.0 2.1 5.0",
    "; A B C",
};
const QStringList kViceCfg = {
    ";",
    "LANDSTAL        1700.0 2.0 5.0",
    ";-BOATS",
    "PREDATOR        2200.0 2.0 5.0",
    "; A B C",
};

// A file opened in a harness, with the express import working on it.
struct Session {
    Harness h;
    ExpressImport import{h.grid, h.file, {h.messages, h.errors}};
    Game game = Game::Gta3;

    void Type(const std::string& text) { import.TextChanged(text, game); }
    std::vector<std::string> Cells(int row) const
    {
        std::vector<std::string> cells;
        for (int c = 0; c < h.grid.Cols(); ++c)
            cells.push_back(h.grid.TextMatrix(row, c));
        return cells;
    }
    std::string LineOf(int row) const { return h.file.FileLines().at(size_t(h.file.LineOfRow(row))); }
};

std::vector<std::string> Padded(const QStringList& cells, int cols)
{
    std::vector<std::string> out;
    for (const QString& cell : cells)
        out.push_back(cell.toStdString());
    out.resize(size_t(cols));
    return out;
}

class ThrowingMessages : public FakeMessages {
public:
    MsgAnswer ShowMessage(const std::string&, MsgButtons, MsgIcon) override
    {
        throw std::runtime_error("message box failed");
    }
};

}  // namespace

class TestImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    std::unique_ptr<Session> Open(FileKind kind, Game game, const QStringList& lines)
    {
        const QString path = dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
        WriteBytes(path, (lines.join("\r\n") + "\r\n").toLatin1());
        auto s = std::make_unique<Session>();
        s->game = game;
        s->h.Open(kind, game, FsPath(path));
        s->h.messages.shown.clear();
        return s;
    }
    std::unique_ptr<Session> OpenGta3(FileKind kind)
    {
        return Open(kind, Game::Gta3, kind == FileKind::DefaultIde ? kGta3Ide : kGta3Cfg);
    }

private slots:
    void defaultLookup_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");  // -1: no vehicle
        QTest::addColumn<QString>("name");
        const Game g3 = Game::Gta3;
        const Game vc = Game::ViceCity;
        QTest::newRow("id and comma") << g3 << "90," << 1 << "landstal";
        QTest::newRow("more text keeps the match") << g3 << "90,l" << 1 << "landstal";
        QTest::newRow("no comma") << g3 << "90" << -1 << "";
        QTest::newRow("leading zero") << g3 << "095," << 5 << "sentinel";
        QTest::newRow("one leading blank") << g3 << " 95, x" << 5 << "sentinel";
        QTest::newRow("tab before the id") << g3 << "\t95," << 5 << "sentinel";
        QTest::newRow("two leading blanks") << g3 << "  95," << -1 << "";
        QTest::newRow("four digits") << g3 << "1100, bigone" << -1 << "";
        QTest::newRow("id not a part of a longer id") << g3 << "110, taxi" << 4 << "taxi";
        QTest::newRow("fraction") << g3 << "95.5," << -1 << "";
        QTest::newRow("comma first") << g3 << ",90" << -1 << "";
        QTest::newRow("empty") << g3 << "" << -1 << "";
        QTest::newRow("hint") << g3 << "[insert comma separated values and click Apply]" << -1 << "";
        QTest::newRow("gta3 below range") << g3 << "89," << -1 << "";
        QTest::newRow("gta3 top of range") << g3 << "150," << 6 << "ghost";
        QTest::newRow("gta3 above range") << g3 << "151," << -1 << "";
        QTest::newRow("in range, no such row") << g3 << "96," << -1 << "";
        QTest::newRow("vc first id") << vc << "130," << 1 << "landstal";
        QTest::newRow("vc above 150") << vc << "151, washing" << 3 << "washing";
        QTest::newRow("vc last id") << vc << "236," << 4 << "vicechee";
        QTest::newRow("vc below range") << vc << "129," << -1 << "";
        QTest::newRow("vc above range") << vc << "237," << -1 << "";
        QTest::newRow("vc gta3 id in the file") << vc << "90," << -1 << "";
    }
    void defaultLookup()
    {
        QFETCH(Game, game);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, name);
        auto s = Open(FileKind::DefaultIde, game, game == Game::Gta3 ? kGta3Ide : kViceIde);

        // Each change looks the vehicle up afresh, whatever was found before.
        s->Type(game == Game::Gta3 ? "91," : "130,");
        QVERIFY(s->import.ApplyEnabled());
        s->Type(text.toStdString());
        QCOMPARE(s->import.ApplyEnabled(), row >= 0);
        QCOMPARE(s->import.ImportRow(), row);
        QCOMPARE(QString::fromStdString(s->import.VehicleName()), name);
        QVERIFY(!s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
    }

    void handlingLookup_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        const Game g3 = Game::Gta3;
        QTest::newRow("identifier") << g3 << "IDAHO 1600.0" << 4 << "IDAHO";
        QTest::newRow("lower case") << g3 << "landstal 1700.0 2.0" << 3 << "LANDSTAL";
        QTest::newRow("mixed case, long gap") << g3 << "Borgnine           1" << 5 << "BORGNINE";
        QTest::newRow("tab after the identifier") << g3 << "LANDSTAL\t1700.0 2.0" << -1 << "";
        QTest::newRow("tabs only") << g3 << "LANDSTAL\t1700.0\t2.0" << -1 << "";
        QTest::newRow("no space") << g3 << "LANDSTAL" << -1 << "";
        QTest::newRow("leading space") << g3 << " LANDSTAL 1700.0" << -1 << "";
        QTest::newRow("unknown") << g3 << "NOSUCH 1 2 3" << -1 << "";
        QTest::newRow("hint") << g3 << "[ insert values separated by one or more spaces or tabs and click Apply ]" << -1
                              << "";
        QTest::newRow("vc after a title") << Game::ViceCity << "predator 2200.0" << 5 << "PREDATOR";
        QTest::newRow("vc title row") << Game::ViceCity << "BOATS 1 2 3" << -1 << "";
    }
    void handlingLookup()
    {
        QFETCH(Game, game);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, name);
        auto s = Open(FileKind::HandlingCfg, game, game == Game::Gta3 ? kGta3Cfg : kViceCfg);
        QCOMPARE(s->h.grid.TextMatrix(4, 0), game == Game::Gta3 ? std::string("IDAHO") : std::string("BOATS"));

        s->Type(text.toStdString());
        QCOMPARE(s->import.ApplyEnabled(), row >= 0);
        QCOMPARE(s->import.ImportRow(), row);
        QCOMPARE(QString::fromStdString(s->import.VehicleName()), name);
    }

    void applyDefault_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("stored");
        const QString full = "95,\tsentinel, \tsentinel, \tcar, \tSENTINEL, \tSENTINL, \t\trich, \t10,\t7,\t0,\t163, 0.65";
        QTest::newRow("whole line with tabs")
            << full << 5
            << QStringList{"95", "sentinel", "sentinel", "car", "SENTINEL", "SENTINL", "rich", "10", "7", "0", "163",
                           "0.65"}
            << full;
        QTest::newRow("too few fields") << "95, \tnew name,\ttxd" << 5 << QStringList{"95", "new name", "txd"}
                                        << "95, \tnew name,\ttxd";
        QTest::newRow("too many fields")
            << "90,a,b,c,d,e,f,g,h,i,j,k,l,m" << 1
            << QStringList{"90", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"} << "90,a,b,c,d,e,f,g,h,i,j,k,l,m";
        QTest::newRow("empty fields") << "110,,, car" << 4 << QStringList{"110", "", "", "car"} << "110,,, car";
        const QString longLine = "150," + QString(300, ' ') + "ghost," + QString(300, '\t') + "last";
        QTest::newRow("longer than 255") << longLine << 6 << QStringList{"150", "ghost", "last"} << longLine;
        QTest::newRow("pasted with its line end")
            << "91, idaho2, idaho\r\n92, stinger" << 2 << QStringList{"91", "idaho2", "idaho"} << "91, idaho2, idaho";
    }
    void applyDefault()
    {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        QFETCH(QString, stored);
        auto s = OpenGta3(FileKind::DefaultIde);
        const std::vector<std::string> linesBefore = s->h.file.FileLines();
        const std::vector<std::string> otherRow = s->Cells(row == 1 ? 2 : 1);

        s->Type(text.toLatin1().toStdString());
        QCOMPARE(s->import.ImportRow(), row);
        const std::string vehicle = s->import.VehicleName();
        for (int click = 0; click < 2; ++click) {
            QVERIFY(s->import.Apply());
            QCOMPARE(s->Cells(row), Padded(cells, s->h.grid.Cols()));
            QCOMPARE(s->LineOf(row), stored.toLatin1().toStdString());
            QVERIFY(s->h.file.Modified());
            // The box, the vehicle shown and Apply stay as they were, ready for another click.
            QCOMPARE(s->import.ImportRow(), row);
            QCOMPARE(s->import.VehicleName(), vehicle);
        }
        // Nothing else changed: the other lines, another row.
        std::vector<std::string> expected = linesBefore;
        expected[size_t(s->h.file.LineOfRow(row))] = stored.toLatin1().toStdString();
        QCOMPARE(s->h.file.FileLines(), expected);
        QCOMPARE(s->Cells(row == 1 ? 2 : 1), otherRow);
        QVERIFY(s->h.messages.shown.empty());
        QVERIFY(s->h.errors.reports.empty());
    }

    void applyHandling_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("viaApply");  // false: the line goes to LANDSTAL's row through ImportLine
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("stored");
        const QString pad = QString(14, ' ');
        QTest::newRow("tabs between values")
            << "LANDSTAL 1700.0\t2.0\t\t5.0" << true << 3 << QStringList{"LANDSTAL", "1700.0", "2.0", "5.0"}
            << "LANDSTAL" + pad + "1700.0 2.0  5.0";
        QTest::newRow("lower case identifier kept")
            << "landstal 1 2" << true << 3 << QStringList{"landstal", "1", "2"} << "landstal" + pad + "1 2";
        QTest::newRow("gap of 11 spaces") << "IDAHO 1" + QString(11, ' ') + "2" << true << 4
                                          << QStringList{"IDAHO", "1", "2"} << "IDAHO" + pad + "1" + QString(11, ' ') + "2";
        QTest::newRow("spaces around the values")
            << "BORGNINE      1 2   " << true << 5 << QStringList{"BORGNINE", "1", "2"} << "BORGNINE" + pad + "1 2";
        QStringList many{"IDAHO"};
        QString manyLine = "IDAHO";
        for (int v = 1; v <= 40; ++v) {
            manyLine += " " + QString::number(v);
            if (many.size() < 32)
                many << QString::number(v);
        }
        QTest::newRow("too many values") << manyLine << true << 4 << many
                                         << "IDAHO" + pad + manyLine.mid(QString("IDAHO ").size());
        QStringList wide{"LANDSTAL"};
        QString wideValues;
        for (int v = 1; v <= 31; ++v) {
            wideValues += (v > 1 ? QString(20, ' ') : QString()) + QString::number(v * 1.5, 'f', 2);
            wide << QString::number(v * 1.5, 'f', 2);
        }
        QTest::newRow("longer than 255") << "LANDSTAL " + wideValues << true << 3 << wide << "LANDSTAL" + pad + wideValues;
        QTest::newRow("tab after the identifier")
            << "LANDSTAL\t1700.0\t2.0" << false << 3 << QStringList{"LANDSTAL", "1700.0", "2.0"}
            << "LANDSTAL" + pad + "1700.0 2.0";
        QTest::newRow("identifier of 16 characters")
            << "ABCDEFGHIJKLMNOP 1 2" << false << 3 << QStringList{"ABCDEFGHIJKLMN", "OP", "1", "2"}
            << "ABCDEFGHIJKLMNOP" + pad + "1 2";
        QTest::newRow("identifier only, with a space")
            << "LANDSTAL " << false << 3 << QStringList{"LANDSTAL"} << "LANDSTAL" + pad;
    }
    void applyHandling()
    {
        QFETCH(QString, text);
        QFETCH(bool, viaApply);
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        QFETCH(QString, stored);
        auto s = OpenGta3(FileKind::HandlingCfg);
        const std::string line = text.toLatin1().toStdString();

        if (viaApply) {
            s->Type(line);
            QCOMPARE(s->import.ImportRow(), row);
        }
        for (int click = 0; click < 2; ++click) {
            if (viaApply) {
                QVERIFY(s->import.Apply());
                QCOMPARE(s->import.ImportRow(), row);
            } else {
                QVERIFY(s->import.ImportLine(row, line));
            }
            QCOMPARE(s->Cells(row), Padded(cells, s->h.grid.Cols()));
            QCOMPARE(s->LineOf(row), stored.toStdString());
            QCOMPARE(s->import.ImportText(), stored.toStdString());
            QVERIFY(s->h.file.Modified());
        }
        QVERIFY(s->h.messages.shown.empty());
        QVERIFY(s->h.errors.reports.empty());
    }

    // An identifier imported in lower case no longer answers to its upper-case name.
    void lowerCaseImportLosesTheName()
    {
        auto s = OpenGta3(FileKind::HandlingCfg);
        s->Type("landstal 1 2");
        QVERIFY(s->import.Apply());
        s->Type("LANDSTAL 3 4");
        QVERIFY(!s->import.ApplyEnabled());
        s->Type("landstal 3 4");
        QVERIFY(!s->import.ApplyEnabled());
    }

    void failedToImport_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no space") << "LANDSTAL";
        QTest::newRow("empty") << "";
        QTest::newRow("text then line end") << "LANDSTAL\r\n1 2 3";
    }
    void failedToImport()
    {
        QFETCH(QString, text);
        auto s = OpenGta3(FileKind::HandlingCfg);
        const auto lines = s->h.file.FileLines();
        const auto cells = s->Cells(3);

        QVERIFY(!s->import.ImportLine(3, text.toStdString()));
        QCOMPARE(s->h.messages.shown.size(), size_t(1));
        QCOMPARE(s->h.messages.shown[0].text, std::string("Failed to import line."));
        QCOMPARE(s->h.messages.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(s->h.messages.shown[0].buttons, MsgButtons::OK);
        QCOMPARE(s->h.file.FileLines(), lines);
        QCOMPARE(s->Cells(3), cells);
        QVERIFY(!s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
    }

    // Only a vehicle's own line is ever replaced: header rows, titles and the empty rows below
    // the last vehicle map to lines outside the section, or to none.
    void refusesRowsWithoutVehicle_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("ide header row") << FileKind::DefaultIde << Game::Gta3 << 0 << "90, x";
        QTest::newRow("ide row below the vehicles") << FileKind::DefaultIde << Game::Gta3 << 7 << "90, x";
        QTest::newRow("cfg row below the vehicles") << FileKind::HandlingCfg << Game::Gta3 << 6 << "LANDSTAL 1";
        QTest::newRow("cfg title row") << FileKind::HandlingCfg << Game::ViceCity << 4 << "BOATS 1";
    }
    void refusesRowsWithoutVehicle()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, row);
        QFETCH(QString, text);
        const QStringList& lines = kind == FileKind::DefaultIde ? (game == Game::Gta3 ? kGta3Ide : kViceIde)
                                                                : (game == Game::Gta3 ? kGta3Cfg : kViceCfg);
        auto s = Open(kind, game, lines);
        const auto before = s->h.file.FileLines();
        const auto cells = s->Cells(row);

        QVERIFY(!s->import.ImportLine(row, text.toStdString()));
        QCOMPARE(s->h.file.FileLines(), before);
        QCOMPARE(s->Cells(row), cells);
        QVERIFY(!s->h.file.Modified());
        // Told as an internal failure, not passed over as if it had worked.
        QCOMPARE(s->h.errors.reports.size(), size_t(1));
        QVERIFY(s->h.errors.reports[0].find("\r\nRoutine: ImportLine\r\n") != std::string::npos);
    }

    void noFileOpen()
    {
        auto s = OpenGta3(FileKind::DefaultIde);
        s->Type("90, x");
        QVERIFY(s->import.ApplyEnabled());
        s->h.file.CloseFile();
        s->Type("");
        QVERIFY(!s->import.ApplyEnabled());
        QCOMPARE(s->import.VehicleName(), std::string());
        QVERIFY(!s->import.Apply());
        s->Type("90, x");
        QVERIFY(!s->import.ApplyEnabled());
        QVERIFY(s->h.errors.reports.empty());
    }

    // A failure inside ImportLine is reported once, under its routine name, at its end.
    void failureIsReported()
    {
        auto s = OpenGta3(FileKind::HandlingCfg);
        ThrowingMessages throwing;
        ExpressImport import(s->h.grid, s->h.file, {throwing, s->h.errors});
        QVERIFY(!import.ImportLine(3, "LANDSTAL"));
        QCOMPARE(s->h.errors.reports.size(), size_t(1));
        QCOMPARE(s->h.errors.reports[0], std::string("Error code # 1002\r\nDescription: message box failed\r\n"
                                                     "Routine: ImportLine\r\nOS: Test OS 1.0"));
        QVERIFY(!s->h.file.Modified());
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
