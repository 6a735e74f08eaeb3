#include <QTest>

#include <optional>
#include <tuple>

#include "CellMarks.h"
#include "FieldRules.h"
#include "ImportSession.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

// Restore defaults, which puts the game's stock line back through the express import's
// replacement, and the marks that show where a vehicle differs from stock or leaves its range.
class TestRestore : public QObject {
    Q_OBJECT
private slots:
    // Every vehicle of the games' own files: change a value; Cancel leaves it changed; OK puts
    // the row and its line back to the stock ones, and no other line changes.
    void everyStockVehicle_data() { AddGameFileRows(); }
    void everyStockVehicle()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        REVLANE_REQUIRE_FIXTURE(file, path);
        Session s(kind, ReadBytes(path), game);
        const auto original = s.Cells();
        const bool ide = kind == FileKind::DefaultIde;
        std::vector<std::string> expectedLines = s.file.FileLines();
        size_t restored = 0;
        for (int row = s.file.FirstDataRow(); row < s.grid.Rows(); ++row) {
            if (!s.file.IsVehicleRow(row))
                continue;
            const std::string name = s.grid.TextMatrix(row, ide ? 1 : 0);
            const std::optional<std::string> stock =
                ide ? Stock().DefaultIdeLine(game, *ReadWholeNumber(s.grid.TextMatrix(row, 0))) : Stock().HandlingLine(game, name);
            QVERIFY2(stock.has_value(), name.c_str());
            // As a restore stores it: a handling.cfg line as the identifier, 14 spaces, the values.
            const std::string stored = ide ? *stock : name + std::string(14, ' ') + text::TrimSpaces(stock->substr(name.size()));
            s.Edit(row, ide ? 3 : 1, "12345");
            const std::string edited = s.LineOf(row);
            s.file.SetModified(false);
            s.messages.answers = {MsgAnswer::Cancel};
            QCOMPARE(s.Restore(name), RestoreDefaults::Result::Cancelled);
            QCOMPARE(s.LineOf(row), edited);
            QVERIFY(!s.file.Modified());
            QCOMPARE(s.Restore(name), RestoreDefaults::Result::Restored);
            QVERIFY(s.file.Modified());
            const std::string shownStock = ide ? text::ReplaceAll(*stock, " ", "") : *stock;
            QVERIFY(s.messages.shown.back().text.ends_with("\r\n\r\nwith the line:\r\n" + shownStock));
            QCOMPARE(s.messages.shown.back().buttons, MsgButtons::OKCancel);
            QCOMPARE(s.LineOf(row), stored);
            expectedLines[size_t(s.file.LineOfRow(row))] = stored;
            ++restored;
        }
        QCOMPARE(restored, s.file.RestoreEntries().size());
        QCOMPARE(s.messages.shown.size(), 2 * restored);
        QCOMPARE(s.Cells(), original);
        QCOMPARE(s.file.FileLines(), expectedLines);
        QVERIFY(s.errors.reports.empty());
    }

    // default.ide lines are shown without tabs and spaces, handling.cfg lines with their tabs
    // as spaces; the file's Latin-1 bytes come out as text.
    void promptText_data()
    {
        QTest::addColumn<bool>("ide");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("default.ide") << true << "90,caf\u00e9,9.9\r\n\r\nwith the line:\r\n90,landstal,0.8";
        QTest::newRow("handling.cfg") << false << "90,  caf\u00e9, 9.9\r\n\r\nwith the line:\r\n90, landstal,  0.8";
    }
    void promptText()
    {
        QFETCH(bool, ide);
        QFETCH(QString, prompt);
        const std::string shown = RestoreDefaults::PromptText("90,\t caf\xe9,\t9.9", "90, landstal,  0.8", ide);
        QCOMPARE(QString::fromStdString(shown), "Confirm replacement of line:\r\n" + prompt);
    }

    // Nothing to restore, and nothing changes: the name no longer names a row once an import
    // has changed it (the user is told), or the game ships no such vehicle (nothing is said).
    void nothingRestored_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("import");
        QTest::addColumn<QString>("added");  // a vehicle line after the stock ones
        QTest::addColumn<QString>("name");   // as bytes of the file: Latin-1
        const FileKind ide = FileKind::DefaultIde;
        QTest::newRow("model name changed") << ide << "90, newname, x" << "" << "landstal";
        QTest::newRow("name in Latin-1") << ide << "" << "" << "caf\u00e9";
        QTest::newRow("first byte past ASCII") << ide << "" << "" << "x\u0080";
        QTest::newRow("added car") << ide << "" << "151, custom, custom, car, CUSTOM, CUSTOM, normal, 10, 7, 0, 163" << "custom";
        QTest::newRow("id not a number") << ide << "" << "x90, odd, odd, car" << "odd";
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
            QVERIFY(s.import.Apply());
            s.file.SetModified(false);
        }
        const auto lines = s.file.FileLines();
        const auto cells = s.Cells();
        const bool known = added.isEmpty();
        QCOMPARE(s.Restore(name.toLatin1().toStdString()),
                 known ? RestoreDefaults::Result::NotFound : RestoreDefaults::Result::NoStockLine);
        QCOMPARE(s.messages.shown.size(), size_t(known));
        if (known) {
            QCOMPARE(QString::fromStdString(s.messages.shown[0].text),
                     "Could not find the vehicle identifier for '" + name
                         + "' in the opened file. If you want to repair an incorrectly imported line, it is "
                           "recommended to discard changes and realod the file using the 'Reload' button.");
            QCOMPARE(s.messages.shown[0].icon, MsgIcon::Critical);
        }
        QCOMPARE(s.file.FileLines(), lines);
        QCOMPARE(s.Cells(), cells);
        QVERIFY(!s.file.Modified() && s.errors.reports.empty());
    }

    // Two vehicles of one name: the first in grid order is the one restored. A restore goes to
    // its own vehicle and leaves the one that the import box names alone.
    void restoreFindsItsOwnRow()
    {
        Session ide(FileKind::DefaultIde, StockContent(FileKind::DefaultIde, {"92, landstal, x, car"}));
        ide.Edit(1, 2, "othertxd");  // found by its model name, not its texture dictionary
        QCOMPARE(ide.Restore("landstal"), RestoreDefaults::Result::Restored);
        QCOMPARE(ide.LineOf(1), Stock().Entry(1));
        QCOMPARE(ide.LineOf(3), std::string("92, landstal, x, car"));

        Session cfg(FileKind::HandlingCfg, StockContent(FileKind::HandlingCfg));
        cfg.Type("IDAHO 1 2 3");
        QCOMPARE(cfg.import.ImportRow(), 4);
        cfg.Edit(3, 1, "1.0");
        QCOMPARE(cfg.Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        QCOMPARE(cfg.import.ImportRow(), 4);
        QVERIFY(cfg.import.Apply());
        QCOMPARE(cfg.LineOf(4), "IDAHO" + std::string(14, ' ') + "1 2 3");
        QVERIFY(text::StartsWith(cfg.LineOf(3), "LANDSTAL" + std::string(14, ' ') + "1700.0 2.0 5.0 2.0 "));
    }

    // Each caption's hint read as a rule; every handling.cfg column but the few without a range gets one.
    void fieldRules_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("between") << "[1.0 to 50000.0]" << QStringList{"1.0", "50000", "+17.5"} << QStringList{"0.99", "50000.1", "x", "", "1e3", ".", "1.2.3"};
        // A number beyond a double's range is none, not a 0 that the range holds.
        QTest::newRow("zero to one") << "[0.0 to 1.0]" << QStringList{"0"} << QStringList{QString(310, '1'), "0." + QString(400, '0') + "1"};
        QTest::newRow("inside") << "[0.0 > x > 20.0]" << QStringList{"0.01", "19.9"} << QStringList{"0.0", "20", "-1"};
        QTest::newRow("inside, below zero") << "[-9.9 > x > 10.0]" << QStringList{"-9.8", "0"} << QStringList{"-9.9", "10.0"};
        QTest::newRow("choice") << "[F/R/4]" << QStringList{"F", "R", "4"} << QStringList{"f", "4.0", "FR", ""};
        QTest::newRow("a number") << "not [L/M/H]" << QStringList{"1.5", "-2"} << QStringList{"L", "M", ""};
        QTest::newRow("numbered choice") << "0=long, 1=small, 2=big, 3=tall" << QStringList{"0", "3"} << QStringList{"4", "long"};
        QTest::newRow("length") << "[14 characters max]" << QStringList{"ABCDEFGHIJKLMN", ""} << QStringList{"ABCDEFGHIJKLMNO"};
        QTest::newRow("three other words") << "[1 or 2]" << QStringList{"xy", "3"} << QStringList{};
        QTest::newRow("a negative length is no rule") << "[-1 characters max]" << QStringList{"xy"} << QStringList{};
        QTest::newRow("words") << "ped seat position offset towards centre of car" << QStringList{"x", ""} << QStringList{};
    }
    void fieldRules()
    {
        QFETCH(QString, hint);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, refused);
        const FieldRule rule = ParseFieldRule(hint.toStdString());
        for (const QString& value : kept)
            QVERIFY2(Allows(rule, value.toStdString()), qPrintable(value));
        for (const QString& value : refused)
            QVERIFY2(!Allows(rule, value.toStdString()), qPrintable(value));
        CaptionTable captions;
        captions.Fill();
        for (const auto& [game, cols, unruled] : {std::tuple(Game::Gta3, 32, 5), std::tuple(Game::ViceCity, 33, 6)}) {
            int none = 0;
            for (int col = 0; col < cols; ++col)
                none += ParseFieldRule(captions.HandlingHeader(game, col).hint).kind == FieldRule::Kind::None;
            QCOMPARE(none, unruled);  // X, AA to AD, and Vice City's extra field
        }
        QVERIFY(captions.HandlingHeader(Game::Gta3, 32).name.empty());  // GTA III has no column AG
    }

    // Each vehicle row's marks: its stock values where its cells differ (numbers as numbers), none
    // for a vehicle the game does not ship, the cells outside their column's rule; worked out again
    // when the row changes.
    void cellMarks()
    {
        Session s(FileKind::HandlingCfg, StockContent(FileKind::HandlingCfg, {"CUSTOMCAR      1 2", "ABCDEFGHIJKLMNO 1 2"}));
        CaptionTable captions;
        captions.Fill();
        CellMarks marks(s.grid, s.file, Stock());
        marks.Reset(Game::Gta3, captions);
        QVERIFY(!marks.At(3, 1).stock && !marks.At(3, 1).outside);
        QVERIFY(marks.At(3, 12).outside);  // the stock line's five gears, over the caption's four
        QCOMPARE(marks.RuleText(12), std::string("TransmissionData.nNumberOfGears [1 to 4]"));
        QVERIFY(!marks.At(5, 1).stock && !marks.At(5, 1).outside && marks.At(5, 3).outside);  // no stock line; no value
        QVERIFY(marks.At(6, 0).outside && !marks.At(3, 0).outside);  // an identifier over 14 characters
        QVERIFY(!marks.At(7, 1).outside && !marks.At(2, 1).outside);  // no vehicle
        s.Edit(3, 1, "1700");
        marks.RefreshRow(3);
        QVERIFY(!marks.At(3, 1).stock);
        s.Edit(3, 1, "0.5");
        marks.RefreshRow(3);
        QCOMPARE(marks.At(3, 1).stock.value_or(""), std::string("1700.0"));
        QVERIFY(marks.At(3, 1).outside);
        QCOMPARE(s.Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        marks.RefreshRow(3);
        QVERIFY(!marks.At(3, 1).stock && !marks.At(3, 7).stock);
        // The same file taken for the other game's compares with that game's stock line.
        marks.Reset(Game::ViceCity, captions);
        QCOMPARE(marks.At(3, 7).stock.value_or(""), std::string("0.0"));
        marks.Reset(Game::Gta3, captions);  // and back
        QVERIFY(!marks.At(3, 7).stock && marks.At(3, 12).outside);

        Session ide(FileKind::DefaultIde, StockContent(FileKind::DefaultIde));
        CellMarks ideMarks(ide.grid, ide.file, Stock());
        ideMarks.Reset(Game::Gta3, captions);
        ide.Edit(1, 3, "boat");
        ideMarks.RefreshRow(1);
        QCOMPARE(ideMarks.At(1, 3).stock.value_or(""), std::string("car"));
        QVERIFY(!ideMarks.At(1, 3).outside && !ideMarks.At(1, 2).stock && !ideMarks.At(2, 3).stock);
        ide.Edit(1, 3, "car");
        ideMarks.RefreshRow(1);
        QVERIFY(!ideMarks.At(1, 3).stock);
    }
};

QTEST_GUILESS_MAIN(TestRestore)
#include "test_restore.moc"
