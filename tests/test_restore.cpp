#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ExpressImport.h"
#include "ModelFakes.h"
#include "Restore.h"
#include "StockLines.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)

namespace {

const char* kNotFoundHead = "Could not find the vehicle identifier for '";
const char* kNotFoundTail =
    "' in the opened file. If you want to repair an incorrectly imported line, it is recommended to discard "
    "changes and realod the file using the 'Reload' button.";

const DefaultLines& Stock()
{
    static const DefaultLines stock = [] {
        DefaultLines lines;
        lines.Load();
        return lines;
    }();
    return stock;
}

class ThrowingMessages : public FakeMessages {
public:
    MsgAnswer ShowMessage(const std::string&, MsgButtons, MsgIcon) override
    {
        throw std::runtime_error("message box failed");
    }
};

// A file opened in a harness, with the express import and the restore working on it.
struct Session {
    Harness h;
    ExpressImport import{h.grid, h.file, {h.messages, h.errors}};
    RestoreDefaults restore{h.grid, h.file, import, Stock(), {h.messages, h.errors}};
    Game game = Game::Gta3;

    RestoreDefaults::Result Restore(const std::string& name) { return restore.Restore(name, game); }
    std::vector<std::string> Cells(int row) const
    {
        std::vector<std::string> cells;
        for (int c = 0; c < h.grid.Cols(); ++c)
            cells.push_back(h.grid.TextMatrix(row, c));
        return cells;
    }
    std::vector<std::vector<std::string>> AllCells() const
    {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < h.grid.Rows(); ++r)
            rows.push_back(Cells(r));
        return rows;
    }
    std::string LineOf(int row) const { return h.file.FileLines().at(size_t(h.file.LineOfRow(row))); }
    // Edits one cell the way the in-place editor does.
    void Edit(int row, int col, const std::string& text)
    {
        h.grid.SetRow(row);
        h.grid.SetTextMatrix(row, col, text);
        h.file.UpdateLine();
    }
};

std::unique_ptr<Session> OpenPath(FileKind kind, Game game, const QString& path)
{
    auto s = std::make_unique<Session>();
    s->game = game;
    s->h.Open(kind, game, FsPath(path));
    return s;
}

// The game's stock line of a file kind, as a restore stores it.
std::string Stored(const std::string& stock, FileKind kind)
{
    return kind == FileKind::DefaultIde ? stock : *ExpressImport::NormaliseHandlingLine(stock);
}

}  // namespace

class TestRestore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    std::unique_ptr<Session> Open(FileKind kind, Game game, const QStringList& lines)
    {
        const QString path = dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
        WriteBytes(path, (lines.join("\r\n") + "\r\n").toLatin1());
        auto s = OpenPath(kind, game, path);
        s->h.messages.shown.clear();
        return s;
    }
    // A small file of the game's own stock lines for the given keys.
    std::unique_ptr<Session> OpenStock(FileKind kind, Game game, std::initializer_list<int> keys)
    {
        QStringList lines{kind == FileKind::DefaultIde ? "cars" : ";"};
        for (int key : keys)
            lines << QString::fromLatin1(Stock().Entry(key).c_str());
        lines << (kind == FileKind::DefaultIde ? "end" : "; A");
        return Open(kind, game, lines);
    }

private slots:
    // Every vehicle of the games' own files: change a value, restore it, and the row and its
    // line are the stock ones again.
    void everyStockVehicle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("vehicles");
        QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << FileKind::DefaultIde << Game::Gta3 << 61;
        // The file's ";the end" line finds no room; the 57 vehicles all do.
        QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << FileKind::HandlingCfg << Game::Gta3 << 57;
        QTest::newRow("vc default.ide") << "vc/data/default.ide" << FileKind::DefaultIde << Game::ViceCity << 107;
        QTest::newRow("vc handling.cfg") << "vc/data/handling.cfg" << FileKind::HandlingCfg << Game::ViceCity << 106;
    }
    void everyStockVehicle()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, vehicles);
        REVLANE_REQUIRE_FIXTURE(file, path);

        auto s = OpenPath(kind, game, path);
        QCOMPARE(int(s->h.view.restoreList.size()), vehicles);
        s->h.messages.shown.clear();
        const auto original = s->AllCells();
        const bool ide = kind == FileKind::DefaultIde;
        const int nameCol = ide ? 1 : 0;
        const int editCol = ide ? 3 : 1;

        std::vector<std::string> expectedLines = s->h.file.FileLines();
        for (const std::string& name : s->h.view.restoreList) {
            int row = -1;
            for (int r = s->h.file.FirstDataRow(); r < s->h.grid.Rows() && row < 0; ++r)
                if (s->h.file.IsVehicleRow(r) && s->h.grid.TextMatrix(r, nameCol) == name)
                    row = r;
            QVERIFY2(row > 0, name.c_str());
            const std::optional<std::string> stock =
                ide ? Stock().DefaultIdeLine(game, *ReadWholeNumber(s->h.grid.TextMatrix(row, 0)))
                    : Stock().HandlingLine(game, name);
            QVERIFY2(stock.has_value(), name.c_str());

            s->Edit(row, editCol, "12345");
            const std::string edited = s->LineOf(row);
            QVERIFY2(edited != Stored(*stock, kind), name.c_str());
            const size_t prompts = s->h.messages.shown.size();

            QCOMPARE(s->Restore(name), RestoreDefaults::Result::Restored);
            QCOMPARE(s->h.messages.shown.size(), prompts + 1);
            QCOMPARE(s->h.messages.shown.back().text, RestoreDefaults::PromptText(edited, *stock, ide));
            QCOMPARE(s->Cells(row), original[size_t(row)]);
            QCOMPARE(s->LineOf(row), Stored(*stock, kind));
            expectedLines[size_t(s->h.file.LineOfRow(row))] = Stored(*stock, kind);
        }
        // Every row is back, and no line but the vehicles' own has changed.
        QCOMPARE(s->AllCells(), original);
        QCOMPARE(s->h.file.FileLines(), expectedLines);
        QVERIFY(s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
        for (const ShownMessage& shown : s->h.messages.shown) {
            QCOMPARE(shown.buttons, MsgButtons::OKCancel);
            QCOMPARE(shown.icon, MsgIcon::Question);
        }
    }

    void promptAndCancel_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("editCol");
        QTest::addColumn<QString>("editText");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("default.ide without spaces")
            << FileKind::DefaultIde << "landstal" << 11 << "9.9"
            << "Confirm replacement of line:\r\n90,landstal,landstal,car,LANDSTAL,LANDSTK,richfamily,10,7,0,164,9.9\r\n"
               "\r\nwith the line:\r\n90,landstal,landstal,car,LANDSTAL,LANDSTK,richfamily,10,7,0,164,0.8";
        // The edited line was rebuilt in our layout, with two tabs before the 30th value.
        QTest::newRow("handling.cfg with its spaces")
            << FileKind::HandlingCfg << "LANDSTAL" << 1 << "1800.0"
            << "Confirm replacement of line:\r\n"
               "LANDSTAL       1800.0 2.0 5.0 2.0 0.0 0.0 0.25 85 0.85 0.85 0.51 5 160.0 20.0 4 D 6.2 0.60 0 35.0 "
               "2.0 0.1 0.27 0.35 25000 0.25 -0.1 0.5 C00B   0 1 \r\n\r\nwith the line:\r\n"
               "LANDSTAL        1700.0 2.0 5.0 2.0 0.0 0.0  0.25 85  0.85 0.85 0.51 5 160.0 20.0 4 D 6.2   0.60 0 35.0 "
               " 2.0  0.1  0.27 0.35 25000 0.25 -0.1  0.5  C00B     0  1";
    }
    void promptAndCancel()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, name);
        QFETCH(int, editCol);
        QFETCH(QString, editText);
        QFETCH(QString, prompt);
        auto s = kind == FileKind::DefaultIde ? OpenStock(kind, Game::Gta3, {1, 2})
                                              : OpenStock(kind, Game::Gta3, {70, 71});
        s->Edit(s->h.file.FirstDataRow(), editCol, editText.toStdString());
        const auto lines = s->h.file.FileLines();
        const auto cells = s->AllCells();

        s->h.messages.answers = {MsgAnswer::Cancel};
        QCOMPARE(s->Restore(name.toStdString()), RestoreDefaults::Result::Cancelled);
        QCOMPARE(s->h.messages.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(s->h.messages.shown[0].text), prompt);
        QCOMPARE(s->h.messages.shown[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(s->h.messages.shown[0].icon, MsgIcon::Question);
        QCOMPARE(s->h.file.FileLines(), lines);
        QCOMPARE(s->AllCells(), cells);

        s->h.file.SetModified(false);
        QCOMPARE(s->Restore(name.toStdString()), RestoreDefaults::Result::Restored);
        QVERIFY(s->h.file.Modified());
        QCOMPARE(s->h.messages.shown.size(), size_t(2));
        QVERIFY(s->h.errors.reports.empty());
    }

    // The name in the restore list no longer names a row once an import has changed it.
    void notFound_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("import");
        QTest::addColumn<QString>("name");
        QTest::newRow("model name changed") << FileKind::DefaultIde << "90, newname, x" << "landstal";
        QTest::newRow("identifier in lower case") << FileKind::HandlingCfg << "landstal 1 2 3" << "LANDSTAL";
        QTest::newRow("name in Latin-1") << FileKind::DefaultIde << "" << QString::fromLatin1("caf\xe9");
    }
    void notFound()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, import);
        QFETCH(QString, name);
        auto s = kind == FileKind::DefaultIde ? OpenStock(kind, Game::Gta3, {1, 2})
                                              : OpenStock(kind, Game::Gta3, {70, 71});
        if (!import.isEmpty()) {
            s->import.TextChanged(import.toStdString(), s->game);
            QVERIFY(s->import.Apply());
        }
        s->h.file.SetModified(false);
        const auto lines = s->h.file.FileLines();
        const auto cells = s->AllCells();

        const std::string bytes = name.toLatin1().toStdString();
        QCOMPARE(s->Restore(bytes), RestoreDefaults::Result::NotFound);
        QCOMPARE(s->h.messages.shown.size(), size_t(1));
        QCOMPARE(s->h.messages.shown[0].text, kNotFoundHead + text::Latin1ToUtf8(bytes) + kNotFoundTail);
        QCOMPARE(s->h.messages.shown[0].buttons, MsgButtons::OK);
        QCOMPARE(s->h.messages.shown[0].icon, MsgIcon::Critical);
        QCOMPARE(s->h.file.FileLines(), lines);
        QCOMPARE(s->AllCells(), cells);
        QVERIFY(!s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
    }

    // A vehicle that the game does not ship has nothing to go back to: nothing happens.
    void noStockLine_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("added car") << FileKind::DefaultIde << Game::Gta3
                                   << "151, custom, custom, car, CUSTOM, CUSTOM, normal, 10, 7, 0, 163, 0.7" << "custom";
        QTest::newRow("vc car in gta3") << FileKind::DefaultIde << Game::Gta3
                                        << "200, patriot, patriot, car, PATRIOT, PATRIOT, null, 10, 7, 0, 163, 0.7"
                                        << "patriot";
        QTest::newRow("id not a number") << FileKind::DefaultIde << Game::Gta3 << "x90, odd, odd, car" << "odd";
        QTest::newRow("vc boat in gta3") << FileKind::HandlingCfg << Game::Gta3 << "RIO             1.0 2.0" << "RIO";
    }
    void noStockLine()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QString, line);
        QFETCH(QString, name);
        const bool ide = kind == FileKind::DefaultIde;
        auto s = Open(kind, game,
                      {ide ? "cars" : ";", QString::fromStdString(Stock().Entry(ide ? 1 : 70)), line, ide ? "end" : "; A"});
        const auto lines = s->h.file.FileLines();
        QCOMPARE(s->Restore(name.toStdString()), RestoreDefaults::Result::NoStockLine);
        QVERIFY(s->h.messages.shown.empty());
        QCOMPARE(s->h.file.FileLines(), lines);
        QVERIFY(!s->h.file.Modified());
        QVERIFY(s->h.errors.reports.empty());
    }

    // Two vehicles of one name: the first in grid order is the one restored.
    void firstOfTwo()
    {
        auto s = Open(FileKind::DefaultIde, Game::Gta3,
                      {"cars", "90, landstal, x, car", "91, landstal, y, car", "end"});
        QCOMPARE(s->Restore("landstal"), RestoreDefaults::Result::Restored);
        QCOMPARE(s->LineOf(1), Stock().Entry(1));
        QCOMPARE(s->LineOf(2), std::string("91, landstal, y, car"));
    }

    // The game's own RIO and HUNTER lines have tabs inside their identifier field. Read, they
    // show the bare names, and those names find their stock lines.
    void rioAndHunter_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::newRow("RIO") << "RIO    \t\t    3000.0 4.5 7.0  4.0 0.0 0.0 0.0 15 -4.00 25.0 0.50" << "RIO" << 329;
        QTest::newRow("HUNTER") << "HUNTER\t       10000.0 4.0 10.0 3.0 0.0 0.0 0.0  75  0.65 0.9  0.5" << "HUNTER"
                                << 342;
    }
    void rioAndHunter()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(int, key);
        auto s = Open(FileKind::HandlingCfg, Game::ViceCity,
                      {";", QString::fromStdString(Stock().Entry(346)), line, "; A"});
        QCOMPARE(s->h.view.restoreList.at(1), name.toStdString());
        QCOMPARE(s->Restore(name.toStdString()), RestoreDefaults::Result::Restored);
        const std::string stored = s->LineOf(4);
        QCOMPARE(stored, *ExpressImport::NormaliseHandlingLine(Stock().Entry(key)));
        QCOMPARE(stored.substr(0, name.size() + 14), name.toStdString() + std::string(14, ' '));
        QCOMPARE(s->h.grid.TextMatrix(4, 0), name.toStdString());
        QCOMPARE(s->h.grid.TextMatrix(4, 1), std::string(key == 329 ? "3000.0" : "10000.0"));
        // Nothing shifted: the identifier and the 32 values of a Vice City line, one per column.
        for (int col = 0; col < s->h.grid.Cols(); ++col)
            QVERIFY2(!s->h.grid.TextMatrix(4, col).empty(), qPrintable(QString("column %1").arg(col)));
    }

    // A restore goes to its own vehicle and leaves the one that the import box names alone.
    void pendingImportStaysItsOwn()
    {
        auto s = OpenStock(FileKind::HandlingCfg, Game::Gta3, {70, 71});
        s->import.TextChanged("IDAHO 1 2 3", s->game);
        QCOMPARE(s->import.ImportRow(), 4);
        s->Edit(3, 1, "1.0");
        QCOMPARE(s->Restore("LANDSTAL"), RestoreDefaults::Result::Restored);
        QCOMPARE(s->import.ImportRow(), 4);
        QCOMPARE(s->import.VehicleName(), std::string("IDAHO"));

        QVERIFY(s->import.Apply());
        QCOMPARE(s->LineOf(3), *ExpressImport::NormaliseHandlingLine(Stock().Entry(70)));
        QCOMPARE(s->LineOf(4), "IDAHO" + std::string(14, ' ') + "1 2 3");
    }

    void failureIsReported()
    {
        auto s = OpenStock(FileKind::DefaultIde, Game::Gta3, {1, 2});
        ThrowingMessages throwing;
        RestoreDefaults restore(s->h.grid, s->h.file, s->import, Stock(), {throwing, s->h.errors});
        const auto lines = s->h.file.FileLines();
        QCOMPARE(restore.Restore("idaho", Game::Gta3), RestoreDefaults::Result::Cancelled);
        QCOMPARE(s->h.errors.reports.size(), size_t(1));
        QCOMPARE(s->h.errors.reports[0], std::string("Error code # 1002\r\nDescription: message box failed\r\n"
                                                     "Routine: cmdRestore\r\nOS: Test OS 1.0"));
        QCOMPARE(s->h.file.FileLines(), lines);
        QVERIFY(!s->h.file.Modified());
    }
};

QTEST_GUILESS_MAIN(TestRestore)
#include "test_restore.moc"
