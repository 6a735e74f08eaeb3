#include <QTest>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ExpressImport.h"
#include "ModelFakes.h"
#include "Restore.h"
#include "StockLines.h"

using namespace revlane;
using namespace revlane::test;

namespace {

const DefaultLines& Stock()
{
    static DefaultLines stock;
    if (!stock.Loaded())
        stock.Load();
    return stock;
}

// A file opened in a harness, with the express import and the restore working on it.
struct Session {
    Harness h;
    ExpressImport import{h.grid, h.file, {h.messages, h.errors}};
    RestoreDefaults restore{h.grid, h.file, import, Stock(), {h.messages, h.errors}};
    Game game = Game::Gta3;

    RestoreDefaults::Result Restore(const std::string& name) { return restore.Restore(name, game); }
    std::vector<std::vector<std::string>> Cells() const { return GridCells(h.grid); }
    std::string LineOf(int row) const { return h.file.FileLines().at(size_t(h.file.LineOfRow(row))); }
    // Edits one cell the way the in-place editor does.
    void Edit(int row, int col, const std::string& text)
    {
        h.grid.SetRow(row);
        h.grid.SetTextMatrix(row, col, text);
        h.file.UpdateLine();
    }
};

std::unique_ptr<Session> Open(FileKind kind, Game game, const QString& path)
{
    auto s = std::make_unique<Session>();
    s->game = game;
    s->h.Open(kind, game, FsPath(path));
    s->h.messages.shown.clear();
    return s;
}

}  // namespace

class TestRestore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // A GTA III file of its first two stock vehicles and the vehicle lines given.
    std::unique_ptr<Session> OpenGta3(FileKind kind, const QStringList& more = {})
    {
        const bool ide = kind == FileKind::DefaultIde;
        QStringList lines{ide ? "cars" : ";"};
        for (const int key : {ide ? 1 : 70, ide ? 2 : 71})
            lines << QString::fromStdString(Stock().Entry(key));
        lines << more << (ide ? "end" : "; A");
        const QString path = dir.filePath(ide ? "default.ide" : "handling.cfg");
        WriteBytes(path, (lines.join("\r\n") + "\r\n").toLatin1());
        return Open(kind, Game::Gta3, path);
    }

private slots:
    // Every vehicle of the games' own files: change a value; Cancel leaves it changed; OK puts
    // the row and its line back to the stock ones.
    void everyStockVehicle_data() { AddGameFileRows(); }
    void everyStockVehicle()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        REVLANE_REQUIRE_FIXTURE(file, path);

        auto s = Open(kind, game, path);
        const auto original = s->Cells();
        const bool ide = kind == FileKind::DefaultIde;
        std::vector<std::string> expectedLines = s->h.file.FileLines();
        size_t restored = 0;
        for (int row = s->h.file.FirstDataRow(); row < s->h.grid.Rows(); ++row) {
            if (!s->h.file.IsVehicleRow(row))
                continue;
            const std::string name = s->h.grid.TextMatrix(row, ide ? 1 : 0);
            const std::optional<std::string> stock =
                ide ? Stock().DefaultIdeLine(game, *ReadWholeNumber(s->h.grid.TextMatrix(row, 0)))
                    : Stock().HandlingLine(game, name);
            QVERIFY2(stock.has_value(), name.c_str());
            // As a restore stores it: a handling.cfg line in our layout.
            const std::string stored = ide ? *stock : *ExpressImport::NormaliseHandlingLine(*stock);

            s->Edit(row, ide ? 3 : 1, "12345");
            const std::string edited = s->LineOf(row);
            QVERIFY2(edited != stored, name.c_str());
            s->h.file.SetModified(false);
            s->h.messages.answers = {MsgAnswer::Cancel};
            QCOMPARE(s->Restore(name), RestoreDefaults::Result::Cancelled);
            QCOMPARE(s->LineOf(row), edited);
            QVERIFY(!s->h.file.Modified());
            QCOMPARE(s->Restore(name), RestoreDefaults::Result::Restored);
            QVERIFY(s->h.file.Modified());
            QCOMPARE(s->h.messages.shown.back().text, RestoreDefaults::PromptText(edited, *stock, ide));
            QCOMPARE(s->h.messages.shown.back().buttons, MsgButtons::OKCancel);
            QCOMPARE(s->LineOf(row), stored);
            expectedLines[size_t(s->h.file.LineOfRow(row))] = stored;
            ++restored;
        }
        // Every row is back, and no line but the vehicles' own has changed.
        QCOMPARE(restored, s->h.file.RestoreEntries().size());
        QCOMPARE(s->h.messages.shown.size(), 2 * restored);
        QCOMPARE(s->Cells(), original);
        QCOMPARE(s->h.file.FileLines(), expectedLines);
        QVERIFY(s->h.errors.reports.empty());
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
        QTest::newRow("added car") << ide << "" << "151, custom, custom, car, CUSTOM, CUSTOM, normal, 10, 7, 0, 163"
                                   << "custom";
        QTest::newRow("id not a number") << ide << "" << "x90, odd, odd, car" << "odd";
        QTest::newRow("vc boat in gta3") << FileKind::HandlingCfg << "" << "RIO             1.0 2.0" << "RIO";
    }
    void nothingRestored()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, import);
        QFETCH(QString, added);
        QFETCH(QString, name);
        auto s = OpenGta3(kind, added.isEmpty() ? QStringList() : QStringList{added});
        if (!import.isEmpty()) {
            s->import.TextChanged(import.toStdString(), s->game);
            QVERIFY(s->import.Apply());
            s->h.file.SetModified(false);
        }
        const auto lines = s->h.file.FileLines();
        const auto cells = s->Cells();

        const bool known = added.isEmpty();
        QCOMPARE(s->Restore(name.toLatin1().toStdString()),
                 known ? RestoreDefaults::Result::NotFound : RestoreDefaults::Result::NoStockLine);
        QCOMPARE(s->h.messages.shown.size(), size_t(known));
        if (known) {
            QCOMPARE(QString::fromStdString(s->h.messages.shown[0].text),
                     "Could not find the vehicle identifier for '" + name
                         + "' in the opened file. If you want to repair an incorrectly imported line, it is "
                           "recommended to discard changes and realod the file using the 'Reload' button.");
            QCOMPARE(s->h.messages.shown[0].icon, MsgIcon::Critical);
        }
        QCOMPARE(s->h.file.FileLines(), lines);
        QCOMPARE(s->Cells(), cells);
        QVERIFY(!s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
    }

    // Two vehicles of one name: the first in grid order is the one restored.
    void firstOfTwo()
    {
        auto s = OpenGta3(FileKind::DefaultIde, {"92, landstal, x, car"});
        s->Edit(1, 3, "boat");
        QCOMPARE(s->Restore("landstal"), RestoreDefaults::Result::Restored);
        QCOMPARE(s->LineOf(1), Stock().Entry(1));
        QCOMPARE(s->LineOf(3), std::string("92, landstal, x, car"));
    }

    // A restore goes to its own vehicle and leaves the one that the import box names alone.
    void pendingImportStaysItsOwn()
    {
        auto s = OpenGta3(FileKind::HandlingCfg);
        s->import.TextChanged("IDAHO 1 2 3", s->game);
        QCOMPARE(s->import.ImportRow(), 4);
        s->Edit(3, 1, "1.0");
        QCOMPARE(s->Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        QCOMPARE(s->import.ImportRow(), 4);
        QVERIFY(s->import.Apply());
        QCOMPARE(s->LineOf(3), *ExpressImport::NormaliseHandlingLine(Stock().Entry(70)));
        QCOMPARE(s->LineOf(4), "IDAHO" + std::string(14, ' ') + "1 2 3");
    }

    // A failure is reported once, under the button's routine, and changes nothing.
    void failureIsReported()
    {
        auto s = OpenGta3(FileKind::DefaultIde);
        ThrowingMessages throwing;
        RestoreDefaults restore(s->h.grid, s->h.file, s->import, Stock(), {throwing, s->h.errors});
        const auto lines = s->h.file.FileLines();
        QCOMPARE(restore.Restore("idaho", Game::Gta3), RestoreDefaults::Result::Cancelled);
        const std::string report = "Error code # 1002\r\nDescription: failed\r\nRoutine: cmdRestore\r\nOS: Test OS 1.0";
        QCOMPARE(s->h.errors.reports, std::vector<std::string>{report});
        QCOMPARE(s->h.file.FileLines(), lines);
        QVERIFY(!s->h.file.Modified());
    }
};

QTEST_GUILESS_MAIN(TestRestore)
#include "test_restore.moc"
