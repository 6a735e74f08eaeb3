#include <QTest>

#include <memory>
#include <optional>

#include "CellMarks.h"
#include "ImportSession.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;


namespace {

// Rows 0 to 7: the first line as the game writes it, with tabs; ids just outside GTA III's.
const QStringList kGta3Ide = {
    "# test file", "cars",
    "90,\tlandstal, \tlandstal, \tcar, \tLANDSTAL, \tLANDSTK, \t\trichfamily, \t10,\t7,\t0,\t164, 0.8",
    "91, idaho, idaho, car", "1100, bigone, bigone, car", "110, taxi, taxi, car", "95, sentinel, sentinel, car",
    "150, ghost, ghost, boat", "151, added, added, car", "89, below, below, car", "end"};
// Rows 0 to 5, with ids just outside Vice City's and one of GTA III's among them.
const QStringList kViceIde = {"cars", "130, landstal, x", "90, oddity, x", "151, washing, x", "236, vicechee, x",
                              "129, below, x", "237, above, x", "end"};
// Rows 0 to 2.
const QStringList kGta3Cfg = {"; test file", ";", "LANDSTAL        1700.0 2.0 5.0", "IDAHO           1600.0 1.9 5.0",
                              "BORGNINE        1900.0 2.1 5.0", "; A B C"};
// Row 0 LANDSTAL, row 1 the title BOATS, row 2 PREDATOR.
const QStringList kViceCfg = {";", "LANDSTAL        1700.0 2.0 5.0", ";-BOATS", "PREDATOR        2200.0 2.0 5.0",
                              "; A B C"};

QByteArray Content(FileKind kind, Game game)
{
    const QStringList& lines = kind == FileKind::DefaultIde ? (game == Game::Gta3 ? kGta3Ide : kViceIde)
                                                            : (game == Game::Gta3 ? kGta3Cfg : kViceCfg);
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
const Game g3 = Game::Gta3, vc = Game::ViceCity;

std::unique_ptr<Session> Open(FileKind kind, Game game = Game::Gta3)
{
    return std::make_unique<Session>(kind, Content(kind, game), game);
}

}  // namespace

// Express import, which replaces a vehicle's line with one the user gives; restore, which puts the
// game's stock line back through the same replacement; the stock lines; and the marks that show
// where a vehicle differs from stock or leaves its range.
class TestImportRestore : public QObject {
    Q_OBJECT
private slots:
    // Each change of the text looks the vehicle up afresh, whatever was found before.
    void lookup_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");  // -1: no vehicle
        QTest::newRow("id and comma") << ide << g3 << "90," << 0;
        QTest::newRow("no comma") << ide << g3 << "90" << -1;
        QTest::newRow("comma at position 5") << ide << g3 << "  95," << -1;
        QTest::newRow("id not a part of a longer id") << ide << g3 << "110, taxi" << 3;
        QTest::newRow("gta3 last id") << ide << g3 << "150," << 5;
        QTest::newRow("gta3 below its ids") << ide << g3 << "89," << -1;
        QTest::newRow("vc above 150") << ide << vc << "151, washing" << 2;
        QTest::newRow("vc above its ids") << ide << vc << "237," << -1;
        QTest::newRow("lower case identifier") << cfg << g3 << "landstal 1700.0 2.0" << 0;
        QTest::newRow("tab after the identifier") << cfg << g3 << "LANDSTAL\t1700.0 2.0" << -1;
        QTest::newRow("vc after a title") << cfg << vc << "predator 2200.0" << 2;
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
        QCOMPARE(s->import.VehicleName(), row < 0 ? std::string() : s->doc.Cell(row, ide ? 1 : 0));
        QVERIFY(!s->doc.Modified() && s->errors.reports.empty());
    }

    // Apply, twice: the line takes the vehicle's place in the file, nothing else changing. A
    // handling.cfg line is stored as its identifier, 14 spaces and its values, with tabs as spaces;
    // a default.ide line as typed, its id as the number it names.
    void apply_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");         // given to ImportLine; -1: typed, then Apply
        QTest::addColumn<QString>("stored");  // empty: the text as it is
        QTest::newRow("whole line with tabs") << ide << "95,\tsentinel, \tsentinel, \tcar, \tSENTINEL, \tSENTINL, \t\trich, \t10,\t7,\t0,\t1, 0.6" << -1 << "";
        QTest::newRow("too many fields") << ide << "90,a,b,c,d,e,f,g,h,i,j,k,l,m" << -1 << "";
        QTest::newRow("pasted with its line end") << ide << "91, idaho2, idaho\r\n92, stinger" << -1 << "91, idaho2, idaho";
        // The section's start must stay "90,".
        QTest::newRow("id with a sign") << ide << "+90, landstal2" << -1 << "90, landstal2";
        QTest::newRow("id after a blank") << ide << " 90, landstal2" << -1 << "90, landstal2";
        QTest::newRow("id with a stray character") << ide << "90@, landstal2" << -1 << "90, landstal2";
        const QString pad = QString(14, ' ');
        QTest::newRow("tabs between values") << cfg << "LANDSTAL 1700.0\t2.0\t\t5.0" << -1 << "LANDSTAL" + pad + "1700.0 2.0  5.0";
        QTest::newRow("gap of 11 spaces, spaces around") << cfg << "IDAHO      1" + QString(11, ' ') + "2   " << -1 << "IDAHO" + pad + "1" + QString(11, ' ') + "2";
        // Stored as the lookup found it: the section keeps its upper-case start, the vehicle its name.
        QTest::newRow("lower case identifier") << cfg << "landstal 1 2" << -1 << "LANDSTAL" + pad + "1 2";
        QTest::newRow("tab after the identifier") << cfg << "LANDSTAL\t1700.0\t2.0" << 0 << "LANDSTAL" + pad + "1700.0 2.0";
    }
    void apply()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, stored);
        auto s = Open(kind);
        const std::string line = text.toLatin1().toStdString();
        const bool viaApply = row < 0;
        if (viaApply) {
            s->Type(line);
            row = s->import.ImportRow();
        }
        const std::string vehicle = s->import.VehicleName();
        std::vector<std::string> expected = s->doc.Lines();
        expected[size_t(s->doc.LineOfRow(row))] = stored.isEmpty() ? line : stored.toStdString();
        for (int click = 0; click < 2; ++click) {
            QVERIFY(viaApply ? s->Apply() : s->Put(s->import.ImportLine(row, line)));
            QCOMPARE(s->doc.Lines(), expected);
            // The vehicle shown and Apply stay as they were, ready for another click.
            QCOMPARE(s->import.ImportRow(), viaApply ? row : -1);
            QCOMPARE(s->import.VehicleName(), vehicle);
        }
        QVERIFY(s->messages.shown.empty() && s->errors.reports.empty());
    }

    // A line that begins with a boat's, bike's or aircraft's marker replaces that vehicle's record
    // of its kind, whichever view is shown; the vehicle's own line stays as it was.
    void recordOfItsKind()
    {
        Session s(cfg, Content(cfg, vc) + "% PREDATOR\t0.79\t0.5\r\n$ HUNTER 0.55 0.85\r\n", vc);
        const std::vector<std::string> before = s.doc.Lines();
        s.Type("$hunter\t0.6  0.7 ");
        QCOMPARE(std::pair(s.import.ImportView(), s.import.ImportRow()), std::pair(2, 0));
        QVERIFY(s.Apply());
        s.Type("% predator 1");
        QVERIFY(s.import.ImportView() == 1 && s.Apply());
        std::vector<std::string> expected = before;
        expected[6] = "$ HUNTER" + std::string(14, ' ') + "0.6  0.7";
        expected[5] = "% PREDATOR" + std::string(14, ' ') + "1";
        QCOMPARE(s.doc.Lines(), expected);
        QCOMPARE(s.doc.CurrentView(), 0);
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
        QTest::newRow("no space") << cfg << Game::Gta3 << 0 << "LANDSTAL" << false;
        QTest::newRow("text then line end") << cfg << Game::Gta3 << 0 << "LANDSTAL\r\n1 2 3" << false;
        QTest::newRow("no row") << FileKind::DefaultIde << Game::Gta3 << -1 << "90, x" << true;
        QTest::newRow("row below the vehicles") << FileKind::DefaultIde << Game::Gta3 << 8 << "90, x" << true;
        QTest::newRow("cfg title row") << cfg << Game::ViceCity << 1 << "BOATS 1" << true;
    }
    void refused()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, internal);
        auto s = Open(kind, game);
        QVERIFY(!s->import.ImportLine(row, text.toStdString()));
        QCOMPARE(s->messages.Texts(), internal ? QStringList{} : QStringList{"Failed to import line."});
        QCOMPARE(s->errors.reports.size(), size_t(internal));
        QVERIFY(!internal || s->errors.reports[0].find("\r\nRoutine: ImportLine\r\n") != std::string::npos);
    }

    // Closing the file leaves no vehicle behind for Apply, and nothing is looked up until
    // a file is open again.
    void noFileOpen()
    {
        auto s = Open(FileKind::DefaultIde);
        s->Type("90, x");
        QVERIFY(s->import.ApplyEnabled());
        s->doc.Close();
        s->Type("");
        QVERIFY(!s->import.ApplyEnabled() && !s->import.Apply());
        s->Type("90, x");
        QVERIFY(!s->import.ApplyEnabled() && s->errors.reports.empty());
    }

    // Every stock line of both games and both files is there, and found under its own model id or
    // identifier, in its own game only; and the telling lookups.
    void stockLines()
    {
        std::vector<int> counts(4);
        for (const Game game : {Game::Gta3, Game::ViceCity}) {
            const Game other = game == Game::Gta3 ? Game::ViceCity : Game::Gta3;
            const auto ide = DefaultLines::DefaultIdeKeys(game), cfg = DefaultLines::HandlingKeys(game);
            for (int key = ide.first; key <= cfg.last; ++key) {
                const std::string& line = Stock().Entry(key);
                if (line.empty() || (key > ide.last && key < cfg.first))
                    continue;
                ++counts[(game == Game::Gta3 ? 0 : 2) + (key >= cfg.first)];
                const std::optional<int> id = DefaultLines::DefaultIdeModelId(line);
                const auto find = [&](Game g) { return key < cfg.first ? Stock().DefaultIdeLine(g, *id) : Stock().HandlingLine(g, DefaultLines::HandlingIdentifier(line)); };
                QVERIFY2(find(game) == line && find(other) != line, line.c_str());
            }
        }
        QCOMPARE(counts, (std::vector<int>{61, 57, 107, 106}));
        QCOMPARE(Stock().DefaultIdeLine(Game::Gta3, 148), std::optional<std::string>(Stock().Entry(69)));  // ids out of step with keys
        QCOMPARE(Stock().DefaultIdeLine(Game::ViceCity, 229), std::optional<std::string>(Stock().Entry(239)));
        QCOMPARE(Stock().HandlingLine(Game::ViceCity, "RIO"), std::optional<std::string>(Stock().Entry(329)));
        // Vice City's SEAPLANE is a vehicle, a boat and an aircraft, each with its own record.
        for (const auto& [kind, key] : {std::pair(RecordKind::Boat, 363), std::pair(RecordKind::Aircraft, 369)})
            QCOMPARE(Stock().RecordLine(Game::ViceCity, kind, "SEAPLANE"), std::optional<std::string>(Stock().Entry(key)));
        QVERIFY(!Stock().RecordLine(Game::Gta3, RecordKind::Bike, "BIKE") && !Stock().RecordLine(Game::ViceCity, RecordKind::Bike, "SEAPLANE"));
        for (const char* none : {"RIO          30", "landstal", "LANDSTA", ""})
            QVERIFY2(!Stock().HandlingLine(Game::ViceCity, none), none);
        // Model ids are read as the games' tools read them.
        QCOMPARE(ReadWholeNumber(" \t09 5, x"), std::optional<int>(95));
        QCOMPARE(ReadWholeNumber("95.0"), std::optional<int>(95));
        QCOMPARE(ReadWholeNumber("-7"), std::optional<int>(-7));
        for (const char* none : {"95.5", "1000000000", "+."})
            QVERIFY2(!ReadWholeNumber(none), none);
    }

    // Every vehicle of the games' own files: change a value; Cancel leaves it changed; OK puts
    // the row and its line back to the stock ones, and no other line changes.
    void everyStockVehicle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << FileKind::DefaultIde << Game::Gta3;
        QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << FileKind::HandlingCfg << Game::Gta3;
        QTest::newRow("vc default.ide") << "vc/data/default.ide" << FileKind::DefaultIde << Game::ViceCity;
        QTest::newRow("vc handling.cfg") << "vc/data/handling.cfg" << FileKind::HandlingCfg << Game::ViceCity;
    }
    void everyStockVehicle()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        REVLANE_REQUIRE_FIXTURE(file, path);
        Session s(kind, ReadBytes(path), game);
        const bool ide = kind == FileKind::DefaultIde;
        std::vector<std::string> expectedLines = s.doc.Lines();
        int restored = 0, records = 0;
        for (int view = 0; view < s.doc.ViewCount(); ++view) {  // Vice City's boats, bikes and aircraft too
            s.doc.ShowView(view);
            const auto original = Cells(s.doc);
            const RecordKind record = s.doc.Record();
            records += s.doc.RestoreCount();
            for (int row = 0; row < s.doc.RowCount(); ++row) {
                if (!s.doc.IsVehicleRow(row))
                    continue;
                const std::string name = s.doc.Cell(row, ide ? 1 : 0);
                const std::optional<std::string> stock =
                    ide ? Stock().DefaultIdeLine(game, *ReadWholeNumber(s.doc.Cell(row, 0))) : Stock().RecordLine(game, record, name);
                QVERIFY2(stock.has_value(), name.c_str());
                // As a restore stores it: a handling.cfg line as the identifier, 14 spaces, the values.
                const std::string stored = ide ? *stock : *ExpressImport::NormaliseRecordLine(record, *stock);
                s.Edit(row, ide ? 3 : 1, "12345");
                const std::string edited = s.LineOf(row);
                s.messages.answers = {MsgAnswer::Cancel};
                QCOMPARE(s.Restore(name), RestoreDefaults::Result::Cancelled);
                QCOMPARE(s.LineOf(row), edited);
                QCOMPARE(s.Restore(name), RestoreDefaults::Result::Restored);
                QCOMPARE(s.LineOf(row), stored);
                expectedLines[size_t(s.doc.LineOfRow(row))] = stored;
                ++restored;
            }
            QCOMPARE(Cells(s.doc), original);
        }
        QCOMPARE(restored, records);
        QCOMPARE(s.messages.shown.size(), size_t(2 * restored));
        QCOMPARE(s.doc.Lines(), expectedLines);
        QVERIFY(s.errors.reports.empty());
    }

    // default.ide lines are shown without tabs and spaces, handling.cfg lines with their tabs
    // as spaces; the file's Latin-1 bytes come out as text, the first above ASCII too.
    void promptText()
    {
        const auto shown = [](bool ide) { return QString::fromStdString(RestoreDefaults::PromptText("90,\t caf\xe9\x80,\t9.9", "90, landstal,  0.8", ide)); };
        QCOMPARE(shown(true), "Confirm replacement of line:\r\n90,caf\u00e9\u0080,9.9\r\n\r\nwith the line:\r\n90,landstal,0.8");
        QCOMPARE(shown(false), "Confirm replacement of line:\r\n90,  caf\u00e9\u0080, 9.9\r\n\r\nwith the line:\r\n90, landstal,  0.8");
    }

    // Nothing to restore, and nothing changes: the name no longer names a row once an import
    // has changed it (the user is told), or the game ships no such vehicle (nothing is said).
    void nothingRestored_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("import");
        QTest::addColumn<QString>("added");  // a vehicle line after the stock ones
        QTest::addColumn<QString>("name");   // as bytes of the file: Latin-1
        QTest::newRow("model name changed") << ide << "90, newname, x" << "" << "landstal";
        QTest::newRow("name in Latin-1") << ide << "" << "" << "caf\u00e9";
        QTest::newRow("added car") << ide << "" << "151, custom, custom, car, CUSTOM, CUSTOM, normal, 10, 7, 0, 163" << "custom";
        QTest::newRow("vc boat in gta3") << FileKind::HandlingCfg << "" << "RIO             1.0 2.0" << "RIO";
    }
    void nothingRestored()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, import);
        QFETCH(QString, added);
        QFETCH(QString, name);
        Session s(kind, StockContent(kind, added.isEmpty() ? QStringList() : QStringList{added}));
        if (!import.isEmpty()) {
            s.Type(import.toStdString());
            QVERIFY(s.Apply());
            s.doc.SetModified(false);
        }
        const bool known = added.isEmpty();
        QCOMPARE(s.Restore(name.toLatin1().toStdString()),
                 known ? RestoreDefaults::Result::NotFound : RestoreDefaults::Result::NoStockLine);
        QCOMPARE(s.messages.Texts(), known ? QStringList{"Could not find the vehicle identifier for '" + name
                                                         + "' in the opened file. If you want to repair an incorrectly imported line, it is "
                                                           "recommended to discard changes and reload the file using the 'Reload' button."}
                                           : QStringList{});
        QVERIFY(!s.doc.Modified() && s.errors.reports.empty());
    }

    // Two vehicles of one name: the first in grid order is the one restored. A restore goes to
    // its own vehicle and leaves the one that the import box names alone.
    void restoreFindsItsOwnRow()
    {
        Session ide(FileKind::DefaultIde, StockContent(FileKind::DefaultIde, {"92, landstal, x, car"}));
        ide.Edit(0, 2, "othertxd");  // found by its model name, not its texture dictionary
        QCOMPARE(ide.Restore("landstal"), RestoreDefaults::Result::Restored);
        QCOMPARE(ide.LineOf(0), Stock().Entry(1));
        QCOMPARE(ide.LineOf(2), std::string("92, landstal, x, car"));

        Session cfg(FileKind::HandlingCfg, StockContent(FileKind::HandlingCfg));
        cfg.Type("IDAHO 1 2 3");
        QCOMPARE(cfg.import.ImportRow(), 1);
        cfg.Edit(0, 1, "1.0");
        QCOMPARE(cfg.Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        QCOMPARE(cfg.import.ImportRow(), 1);
        QVERIFY(cfg.Apply());
        QCOMPARE(cfg.LineOf(1), "IDAHO" + std::string(14, ' ') + "1 2 3");
        QVERIFY(text::StartsWith(cfg.LineOf(0), "LANDSTAL" + std::string(14, ' ') + "1700.0 2.0 5.0 2.0 "));
    }

    // Each vehicle row's marks: its stock values where its cells differ (numbers as numbers), none
    // for a vehicle the game does not ship, the cells outside their column's rule; worked out again
    // when the document tells of a change of the row, or of another read.
    void cellMarks()
    {
        Session s(FileKind::HandlingCfg, StockContent(FileKind::HandlingCfg, {"CUSTOMCAR      1 2", "ABCDEFGHIJKLMNO 1 2"}));
        CaptionTable captions;
        captions.Fill();
        CellMarks marks(s.doc, Stock(), captions);
        QVERIFY(!marks.At(0, 1).stock && !marks.At(0, 1).outside);
        QVERIFY(marks.At(0, 12).outside);  // the stock line's five gears, over the caption's four
        QCOMPARE(marks.RuleText(12), std::string("TransmissionData.nNumberOfGears [1 to 4]"));
        QVERIFY(!marks.At(2, 1).stock && !marks.At(2, 1).outside && marks.At(2, 3).outside);  // no stock line; no value
        QVERIFY(marks.At(3, 0).outside && !marks.At(4, 1).outside);  // an identifier over 14 characters; no vehicle
        s.Edit(0, 1, "1700");  // numbers compare as numbers
        QVERIFY(!marks.At(0, 1).stock);
        s.Edit(0, 1, "0.5");
        QCOMPARE(marks.At(0, 1).stock.value_or(""), std::string("1700.0"));
        QVERIFY(marks.At(0, 1).outside);
        QCOMPARE(s.Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        QVERIFY(!marks.At(0, 1).stock && !marks.At(0, 7).stock);
        // The same file taken for the other game's compares with that game's stock line.
        s.Open(FileKind::HandlingCfg, Game::ViceCity, FsPath(s.path));
        QCOMPARE(marks.At(0, 7).stock.value_or(""), std::string("0.0"));

        Session ide(FileKind::DefaultIde, StockContent(FileKind::DefaultIde));
        CellMarks ideMarks(ide.doc, Stock(), captions);
        ide.Edit(0, 3, "boat");
        QCOMPARE(ideMarks.At(0, 3).stock.value_or(""), std::string("car"));
        QVERIFY(!ideMarks.At(0, 3).outside && !ideMarks.At(0, 2).stock && !ideMarks.At(1, 3).stock);
    }
};

QTEST_GUILESS_MAIN(TestImportRestore)
#include "test_importrestore.moc"
