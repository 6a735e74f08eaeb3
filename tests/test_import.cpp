#include <QTest>

#include <memory>

#include "ImportSession.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// Rows 1 to 8: the first line as the game writes it, with tabs; ids just outside GTA III's.
const QStringList kGta3Ide = {
    "# test file", "cars",
    "90,\tlandstal, \tlandstal, \tcar, \tLANDSTAL, \tLANDSTK, \t\trichfamily, \t10,\t7,\t0,\t164, 0.8",
    "91, idaho, idaho, car", "1100, bigone, bigone, car", "110, taxi, taxi, car", "95, sentinel, sentinel, car",
    "150, ghost, ghost, boat", "151, added, added, car", "89, below, below, car", "end"};
// Rows 1 to 6, with ids just outside Vice City's and one of GTA III's among them.
const QStringList kViceIde = {"cars", "130, landstal, x", "90, oddity, x", "151, washing, x", "236, vicechee, x",
                              "129, below, x", "237, above, x", "end"};
// Rows 3 to 5.
const QStringList kGta3Cfg = {"; test file", ";", "LANDSTAL        1700.0 2.0 5.0", "IDAHO           1600.0 1.9 5.0",
                              "BORGNINE        1900.0 2.1 5.0", "; A B C"};
// Row 3 LANDSTAL, row 4 the title BOATS, row 5 PREDATOR.
const QStringList kViceCfg = {";", "LANDSTAL        1700.0 2.0 5.0", ";-BOATS", "PREDATOR        2200.0 2.0 5.0",
                              "; A B C"};

QByteArray Content(FileKind kind, Game game)
{
    const QStringList& lines = kind == FileKind::DefaultIde ? (game == Game::Gta3 ? kGta3Ide : kViceIde)
                                                            : (game == Game::Gta3 ? kGta3Cfg : kViceCfg);
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

std::unique_ptr<Session> Open(FileKind kind, Game game = Game::Gta3)
{
    return std::make_unique<Session>(kind, Content(kind, game), game);
}

}  // namespace

// Express import, which replaces a vehicle's line with one the user gives.
class TestImport : public QObject {
    Q_OBJECT
private slots:
    // Each change of the text looks the vehicle up afresh, whatever was found before.
    void lookup_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");  // -1: no vehicle
        const FileKind ide = FileKind::DefaultIde;
        const FileKind cfg = FileKind::HandlingCfg;
        const Game g3 = Game::Gta3;
        const Game vc = Game::ViceCity;
        QTest::newRow("id and comma") << ide << g3 << "90," << 1;
        QTest::newRow("no comma") << ide << g3 << "90" << -1;
        QTest::newRow("leading zero") << ide << g3 << "095," << 5;
        QTest::newRow("comma at position 4") << ide << g3 << " 95, x" << 5;
        QTest::newRow("comma at position 5") << ide << g3 << "  95," << -1;
        QTest::newRow("id not a part of a longer id") << ide << g3 << "110, taxi" << 4;
        QTest::newRow("no such row") << ide << g3 << "96," << -1;
        QTest::newRow("gta3 below its ids") << ide << g3 << "89," << -1;
        QTest::newRow("gta3 last id") << ide << g3 << "150," << 6;
        QTest::newRow("gta3 above its ids") << ide << g3 << "151," << -1;
        QTest::newRow("vc below its ids") << ide << vc << "129," << -1;
        QTest::newRow("vc first id") << ide << vc << "130," << 1;
        QTest::newRow("vc above 150") << ide << vc << "151, washing" << 3;
        QTest::newRow("vc last id") << ide << vc << "236," << 4;
        QTest::newRow("vc above its ids") << ide << vc << "237," << -1;
        QTest::newRow("vc gta3 id in the file") << ide << vc << "90," << -1;
        QTest::newRow("lower case identifier") << cfg << g3 << "landstal 1700.0 2.0" << 3;
        QTest::newRow("tab after the identifier") << cfg << g3 << "LANDSTAL\t1700.0 2.0" << -1;
        QTest::newRow("no space") << cfg << g3 << "LANDSTAL" << -1;
        QTest::newRow("leading space") << cfg << g3 << " LANDSTAL 1700.0" << -1;
        QTest::newRow("vc after a title") << cfg << vc << "predator 2200.0" << 5;
        QTest::newRow("vc title row") << cfg << vc << "BOATS 1 2 3" << -1;
    }
    void lookup()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QString, text);
        QFETCH(int, row);
        auto s = Open(kind, game);
        const bool ide = kind == FileKind::DefaultIde;
        s->Type(!ide ? "LANDSTAL 1" : game == Game::Gta3 ? "91," : "130,");
        QVERIFY(s->import.ApplyEnabled());

        s->Type(text.toStdString());
        QCOMPARE(s->import.ApplyEnabled(), row >= 0);
        QCOMPARE(s->import.ImportRow(), row);
        // The model name, or the identifier, of the row found.
        QCOMPARE(s->import.VehicleName(), row < 0 ? std::string() : s->grid.TextMatrix(row, ide ? 1 : 0));
        QVERIFY(!s->file.Modified() && s->errors.reports.empty());
    }

    // Apply, twice: the row shows the line's fields, one per column, and the line takes the
    // vehicle's place in the file, nothing else changing. A handling.cfg line is stored as its
    // identifier, 14 spaces and its values, with tabs as spaces.
    void apply_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");         // given to ImportLine; 0: typed, then Apply
        QTest::addColumn<QString>("cells");   // the row's first cells, between bars
        QTest::addColumn<QString>("stored");  // empty: the text as it is
        const FileKind ide = FileKind::DefaultIde;
        const FileKind cfg = FileKind::HandlingCfg;
        QTest::newRow("whole line with tabs")
            << ide << "95,\tsentinel, \tsentinel, \tcar, \tSENTINEL, \tSENTINL, \t\trich, \t10,\t7,\t0,\t1, 0.6" << 0
            << "95|sentinel|sentinel|car|SENTINEL|SENTINL|rich|10|7|0|1|0.6" << "";
        QTest::newRow("too few fields") << ide << "95, \tnew name,,\ttxd" << 0 << "95|new name||txd" << "";
        QTest::newRow("too many fields")
            << ide << "90,a,b,c,d,e,f,g,h,i,j,k,l,m" << 0 << "90|a|b|c|d|e|f|g|h|i|j|k" << "";
        QTest::newRow("longer than 255")
            << ide << "150," + QString(300, ' ') + "ghost," + QString(300, '\t') + "end" << 0 << "150|ghost|end" << "";
        QTest::newRow("pasted with its line end")
            << ide << "91, idaho2, idaho\r\n92, stinger" << 0 << "91|idaho2|idaho" << "91, idaho2, idaho";
        const QString pad = QString(14, ' ');
        QTest::newRow("tabs between values") << cfg << "LANDSTAL 1700.0\t2.0\t\t5.0" << 0 << "LANDSTAL|1700.0|2.0|5.0"
                                             << "LANDSTAL" + pad + "1700.0 2.0  5.0";
        QTest::newRow("gap of 11 spaces, spaces around") << cfg << "IDAHO      1" + QString(11, ' ') + "2   " << 0
                                                         << "IDAHO|1|2" << "IDAHO" + pad + "1" + QString(11, ' ') + "2";
        // 40 values, more than the 31 columns hold, in a line longer than 255 characters.
        const QString values = QStringList(40, "1.5").join(QString(20, ' '));
        QTest::newRow("too many values, too long") << cfg << "LANDSTAL " + values << 0
                                                   << "LANDSTAL|" + QStringList(31, "1.5").join('|')
                                                   << "LANDSTAL" + pad + values;
        // Stored as the lookup found it: the section keeps its upper-case start, the vehicle its name.
        QTest::newRow("lower case identifier") << cfg << "landstal 1 2" << 0 << "LANDSTAL|1|2" << "LANDSTAL" + pad + "1 2";
        QTest::newRow("tab after the identifier") << cfg << "LANDSTAL\t1700.0\t2.0" << 3 << "LANDSTAL|1700.0|2.0"
                                                  << "LANDSTAL" + pad + "1700.0 2.0";
        QTest::newRow("identifier of 16 characters")
            << cfg << "ABCDEFGHIJKLMNOP 1 2" << 3 << "ABCDEFGHIJKLMNOP|1|2" << "ABCDEFGHIJKLMNOP" + pad + "1 2";
        // The id is stored as the number it names: the section's start must stay "90,".
        QTest::newRow("id with a sign") << ide << "+90, landstal2" << 0 << "90|landstal2" << "90, landstal2";
        QTest::newRow("id after a blank") << ide << " 90, landstal2" << 0 << "90|landstal2" << "90, landstal2";
        QTest::newRow("id with a stray character") << ide << "90@, landstal2" << 0 << "90|landstal2" << "90, landstal2";
    }
    void apply()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, cells);
        QFETCH(QString, stored);
        auto s = Open(kind);
        const std::string line = text.toLatin1().toStdString();
        const bool viaApply = row == 0;
        if (viaApply) {
            s->Type(line);
            row = s->import.ImportRow();
            QVERIFY(row > 0);
        }
        const std::string vehicle = s->import.VehicleName();
        std::vector<std::string> expectedLines = s->file.FileLines();
        expectedLines[size_t(s->file.LineOfRow(row))] = stored.isEmpty() ? line : stored.toStdString();
        std::vector<std::vector<std::string>> expectedCells = s->Cells();
        expectedCells[size_t(row)].assign(expectedCells[size_t(row)].size(), std::string());
        const QStringList fields = cells.split('|');
        for (int c = 0; c < fields.size(); ++c)
            expectedCells[size_t(row)][size_t(c)] = fields[c].toStdString();

        for (int click = 0; click < 2; ++click) {
            QVERIFY(viaApply ? s->import.Apply() : s->import.ImportLine(row, line));
            QCOMPARE(s->Cells(), expectedCells);
            QCOMPARE(s->file.FileLines(), expectedLines);
            QCOMPARE(s->import.ImportText(), expectedLines[size_t(s->file.LineOfRow(row))]);
            QVERIFY(s->file.Modified());
            // The vehicle shown and Apply stay as they were, ready for another click.
            QCOMPARE(s->import.ImportRow(), viaApply ? row : -1);
            QCOMPARE(s->import.VehicleName(), vehicle);
        }
        QVERIFY(s->messages.shown.empty() && s->errors.reports.empty());
    }

    // Nothing changes when a line cannot be imported. A handling.cfg line without a space has
    // no values to split off, and the user is told. Only a vehicle's own line is ever replaced:
    // header rows, titles and the empty rows below the last vehicle map to lines outside the
    // section, or to none; that is an internal failure, not passed over as if it had worked.
    void refused_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("internal");
        const FileKind cfg = FileKind::HandlingCfg;
        QTest::newRow("no space") << cfg << Game::Gta3 << 3 << "LANDSTAL" << false;
        QTest::newRow("text then line end") << cfg << Game::Gta3 << 3 << "LANDSTAL\r\n1 2 3" << false;
        QTest::newRow("ide header row") << FileKind::DefaultIde << Game::Gta3 << 0 << "90, x" << true;
        QTest::newRow("row below the vehicles") << FileKind::DefaultIde << Game::Gta3 << 9 << "90, x" << true;
        QTest::newRow("cfg title row") << cfg << Game::ViceCity << 4 << "BOATS 1" << true;
    }
    void refused()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, internal);
        auto s = Open(kind, game);
        const auto lines = s->file.FileLines();
        const auto cells = s->Cells();

        QVERIFY(!s->import.ImportLine(row, text.toStdString()));
        QCOMPARE(s->file.FileLines(), lines);
        QCOMPARE(s->Cells(), cells);
        QVERIFY(!s->file.Modified());
        QCOMPARE(s->messages.shown.size(), size_t(!internal));
        QCOMPARE(s->errors.reports.size(), size_t(internal));
        if (internal) {
            QVERIFY(s->errors.reports[0].find("\r\nRoutine: ImportLine\r\n") != std::string::npos);
        } else {
            QCOMPARE(s->messages.shown[0].text, std::string("Failed to import line."));
            QCOMPARE(s->messages.shown[0].icon, MsgIcon::Exclamation);
        }
    }

    // Closing the file leaves no vehicle behind for Apply, and nothing is looked up until
    // a file is open again.
    void noFileOpen()
    {
        auto s = Open(FileKind::DefaultIde);
        s->Type("7, x");  // no such vehicle: Apply does nothing, and says nothing
        QVERIFY(!s->import.Apply() && s->messages.shown.empty() && s->errors.reports.empty());
        s->Type("90, x");
        QVERIFY(s->import.ApplyEnabled());
        s->file.CloseFile();
        s->Type("");
        QVERIFY(!s->import.ApplyEnabled() && s->import.VehicleName().empty());
        QVERIFY(!s->import.Apply());
        s->Type("90, x");
        QVERIFY(!s->import.ApplyEnabled());
        QVERIFY(s->errors.reports.empty());
    }

    // A failure inside ImportLine or the restore is reported once, under its routine's name, at
    // its end, and changes nothing.
    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("name");  // the vehicle to restore; empty: an import
        QTest::newRow("ImportLine") << "";
        QTest::newRow("cmdRestore") << "idaho";
        QTest::newRow("cmdRestore, no such vehicle") << "nosuch";
    }
    void failuresAreReported()
    {
        QFETCH(QString, name);
        const bool restore = !name.isEmpty();
        Session s(restore ? FileKind::DefaultIde : FileKind::HandlingCfg, StockContent(restore ? FileKind::DefaultIde : FileKind::HandlingCfg));
        ThrowingMessages throwing;
        ExpressImport import(s.grid, s.file, {throwing, s.errors});
        RestoreDefaults restorer(s.grid, s.file, import, Stock(), {throwing, s.errors});
        const auto lines = s.file.FileLines();
        if (restore)
            QCOMPARE(restorer.Restore(name.toStdString(), Game::Gta3),
                     name == "idaho" ? RestoreDefaults::Result::Cancelled : RestoreDefaults::Result::NotFound);
        else
            QVERIFY(!import.ImportLine(3, "LANDSTAL"));
        const std::string report = "Error code # 1002\r\nDescription: failed\r\nRoutine: " + std::string(restore ? "cmdRestore" : "ImportLine")
                                   + "\r\nOS: Test OS 1.0";
        QCOMPARE(s.errors.reports, std::vector<std::string>{report});
        QCOMPARE(s.file.FileLines(), lines);
        QVERIFY(!s.file.Modified());
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
