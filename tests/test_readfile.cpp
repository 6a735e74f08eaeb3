#include <QDir>
#include <QTest>

#include <stdexcept>

#include "ModelFakes.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// The lines of a file's bytes, whatever ends them.
QList<QByteArray> SplitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (const std::string& line : text::SplitLines(bytes.toStdString()))
        lines << QByteArray::fromStdString(line);
    return lines;
}

const char* kHeader = " Config file written by Revlane v1.1.0 - Last modified on Sunday, 6 December 2026 10:15:30 UTC";

QString Capacity(int max)
{
    return QString("More than %1 vehicles found in this file. Only the first %1 were loaded, but they won't be "
                   "removed when saving.")
        .arg(max);
}

// A game's file read whole: where its section starts, the rows it fills, the vehicles it offers
// for restoring, the capacity message (0: none) and cells that tell the split went right.
struct GameFile {
    const char* file;
    FileKind kind;
    Game game;
    int firstLine;  // -1: not checked
    int filled;
    int vehicles;
    int capacity;
    QStringList cells;  // "row,col=text"
};

}  // namespace

Q_DECLARE_METATYPE(GameFile)

class TestReadFile : public QObject {
    Q_OBJECT
private slots:
    void gamesFiles_data()
    {
        QTest::addColumn<GameFile>("c");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        const Game g3 = Game::Gta3, vc = Game::ViceCity;
        QTest::newRow("gta3 default.ide") << GameFile{"gta3/data/default.ide", ide, g3, 60, 61, 61, 0, {"61,1=ghost"}};
        // ";the end" right after BORGNINE is one more vehicle line, beyond the view's 57 rows.
        QTest::newRow("gta3 handling.cfg") << GameFile{"gta3/data/handling.cfg", cfg, g3, 65, 57, 57, 57,
                                                       {"3,31=1", "3,29=C00B", "59,0=BORGNINE"}};
        QTest::newRow("vc default.ide") << GameFile{"vc/data/default.ide", ide, vc, 181, 107, 107, 0, {"94,1=jetmax"}};
        // RIO's tabs count five characters each, which keeps its first value out of the identifier.
        QTest::newRow("vc handling.cfg") << GameFile{"vc/data/handling.cfg", cfg, vc, 81, 109, 106, 0,
                                                     {"84,0=------ bikes", "90,0=------ boats", "94,0=RIO", "111,0=RCCOPTER"}};
        QTest::newRow("gta3 added cars") << GameFile{"modded/gta3-added-cars_default.ide", ide, g3, 60, 61, 61, 61, {}};
        QTest::newRow("vc mod") << GameFile{"modded/vc-mod_default.ide", ide, vc, -1, 107, 107, 107, {}};
        QTest::newRow("vc generated") << GameFile{"modded/vc-generated_handling.cfg", cfg, vc, -1, 106, 106, 0, {}};
        QTest::newRow("vc tabbed, a lone semicolon ends it")
            << GameFile{"modded/vc-tabbed_handling.cfg", cfg, vc, 4, 103, 103, 0, {}};
    }
    void gamesFiles()
    {
        QFETCH(GameFile, c);
        REVLANE_REQUIRE_FIXTURE(c.file, path);
        Harness h;
        h.file.SetModified(true);
        h.Open(c.kind, c.game, FsPath(path));
        const ConfigFile& f = h.file;
        QVERIFY(h.errors.reports.empty() && !f.Modified() && f.IsOpen() && h.grid.Enabled());
        QVERIFY(c.firstLine < 0 || f.FirstVehicleLine() == c.firstLine);
        QCOMPARE(f.FilledRows(), c.filled);
        QCOMPARE(int(f.RestoreEntries().size()), c.vehicles);
        QCOMPARE(h.messages.shown.size(), size_t(c.capacity != 0));
        if (c.capacity) {
            QCOMPARE(QString::fromStdString(h.messages.shown[0].text), Capacity(c.capacity));
            QCOMPARE(h.messages.shown[0].icon, MsgIcon::Information);
        }
        for (const QString& cell : c.cells) {
            const int comma = cell.indexOf(','), equals = cell.indexOf('=');
            QCOMPARE(QString::fromStdString(h.grid.TextMatrix(cell.left(comma).toInt(), cell.mid(comma + 1, equals - comma - 1).toInt())),
                     cell.mid(equals + 1));
        }
        if (QByteArray(c.file) == "vc/data/handling.cfg")
            QCOMPARE(f.TitleRows(), (std::vector<int>{84, 90, 101}));
        // Every vehicle row shows its own line.
        for (int row = f.FirstDataRow(); row < f.FirstDataRow() + f.FilledRows(); ++row)
            QVERIFY(f.FileLines()[size_t(f.LineOfRow(row))].find(h.grid.TextMatrix(row, 0)) != std::string::npos);

        // Saved unedited, only the header lines change, after the backup of the file as it was.
        const QByteArray original = ReadBytes(path);
        OpenedFile o(c.kind, original, c.game);
        QVERIFY(o.file.SaveFile() && o.errors.reports.empty());
        QCOMPARE(ReadBytes(o.path + ".bak"), original);
        QCOMPARE(QString::fromStdString(o.messages.shown.back().text),
                 "Backup copy created at: \r\n" + QDir::toNativeSeparators(o.path)
                     + ".bak\r\n\r\nA backup copy will be created only when it does not exists.");
        QCOMPARE(QDir(o.dir.path()).entryList(QDir::Files).size(), 2);
        const QByteArray saved = ReadBytes(o.path);
        QCOMPARE(saved.count('\n'), saved.count("\r\n"));
        QList<QByteArray> before = SplitLines(original);
        const bool ide = c.kind == FileKind::DefaultIde;
        before[0] = (ide ? "#" : ";") + QByteArray(kHeader);
        if (!ide)
            before[1] = ";";
        QCOMPARE(SplitLines(saved), before);

        // Every vehicle rebuilt from its cells, saved again and read back shows the same cells.
        for (int row = f.FirstDataRow(); row < f.FirstDataRow() + f.FilledRows(); ++row) {
            if (f.IsVehicleRow(row)) {
                o.grid.SetRow(row);
                o.file.UpdateLine();
            }
        }
        const size_t messages = o.messages.shown.size();
        QVERIFY(o.file.SaveFile());
        QCOMPARE(o.messages.shown.size(), messages);  // no second backup, no second message
        QCOMPARE(ReadBytes(o.path + ".bak"), original);
        Harness again;
        again.Open(c.kind, c.game, FsPath(o.path));
        QCOMPARE(again.file.LineCount(), o.file.LineCount());
        QCOMPARE(GridCells(again.grid), GridCells(o.grid));
    }

    // Where the vehicle section starts and ends: column 0 of the rows filled, and how many of them
    // name a vehicle to restore.
    void sectionBounds_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("column0");
        QTest::addColumn<int>("entries");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("ide without end") << ide << Lines({"# c", "90, a", "91, b"}) << QStringList{"90", "91"} << 2;
        QTest::newRow("ide blank line ends it") << ide << Lines({"90, a", "   ", "91, b"}) << QStringList{"90"} << 1;
        QTest::newRow("ide END and 'end ' do not end it")
            << ide << Lines({"90, a", "END", "end ", "# x", "end", "91, b"}) << QStringList{"90", "END", "end", "# x"} << 1;
        QTest::newRow("ide marker is exact") << ide << Lines({" 90, x", "900, y", "90, a"}) << QStringList{"90"} << 1;
        // A second line with the marker is one more vehicle; it does not move the section's start.
        QTest::newRow("ide second marker") << ide << Lines({"90, a", "90, b", "end"}) << QStringList{"90", "90"} << 2;
        QTest::newRow("no marker") << ide << Lines({"# c", "end"}) << QStringList{} << 0;
        QTest::newRow("cfg end markers") << cfg << Lines({"LANDSTAL       1 2", ";A", "; B", ";   ", "; A x"})
                                         << QStringList{"LANDSTAL", ";A", ";", ";"} << 4;
        QTest::newRow("cfg lone semicolon ends") << cfg << Lines({"LANDSTAL 1", ";", "IDAHO 2"})
                                                 << QStringList{"LANDSTAL"} << 1;
        QTest::newRow("cfg line after a title is a vehicle")
            << cfg << Lines({"LANDSTAL       1", ";- cars", ";", ";-- more", "; A", "IDAHO          2", "; A"})
            << QStringList{"LANDSTAL", " cars", ";", "- more", ";", "IDAHO"} << 4;
        QTest::newRow("cfg five titles, one at the end")
            << cfg << Lines({"LANDSTAL       1", ";-1", "A 1", ";-2", ";-3", ";-4", "D 1", ";-5"})
            << QStringList{"LANDSTAL", "1", "A", "2", ";-3", "4", "D", "5"} << 4;
    }
    void sectionBounds()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, column0);
        QFETCH(int, entries);
        OpenedFile h(kind, content);
        const int first = h.file.FirstDataRow();
        QStringList shown;
        for (int row = first; row < first + h.file.FilledRows(); ++row) {
            shown << QString::fromStdString(h.grid.TextMatrix(row, 0));
            QCOMPARE(h.file.LineOfRow(row), h.file.FirstVehicleLine() + row - first);
        }
        QCOMPARE(h.file.LineOfRow(first + h.file.FilledRows()), -1);  // the row below the last has no line
        QCOMPARE(shown, column0);
        QCOMPARE(int(h.file.RestoreEntries().size()), entries);
        QVERIFY(h.messages.shown.empty() && h.errors.reports.empty());
    }

    // How one line is split into the cells of its row, and what the line table keeps of it.
    void fields_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QByteArray>("stored");  // empty: the line as it was read
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("ide tabs and spaces around") << ide << QByteArray("90,\t landstal\t\t, \tx\t")
                                                    << QStringList{"90", "landstal", "x", ""} << QByteArray();
        QTest::newRow("ide tab inside a field joins") << ide << QByteArray("90, land\tstal")
                                                      << QStringList{"90", "landstal", ""} << QByteArray();
        QTest::newRow("ide one field too many") << ide << QByteArray("90,a,b,c,d,e,f,g,h,i,j,k,EXTRA")
                                                << QString("90,a,b,c,d,e,f,g,h,i,j,k").split(',') << QByteArray();
        // The game reads a handling.cfg line as tokens, however they are spaced; the line stays as read.
        QTest::newRow("cfg mixed gaps") << cfg << QByteArray("LANDSTAL       1.0 \t2.0             3.0\t\t4  ")
                                        << QStringList{"LANDSTAL", "1.0", "2.0", "3.0", "4", ""} << QByteArray();
        QTest::newRow("cfg one space after the identifier") << cfg << QByteArray("LANDSTAL 1700.0 5.00")
                                                            << QStringList{"LANDSTAL", "1700.0", "5.00", ""} << QByteArray();
        QTest::newRow("cfg tab after the identifier") << cfg << QByteArray("LANDSTAL\t13000.0\t4.0")
                                                      << QStringList{"LANDSTAL", "13000.0", "4.0", ""} << QByteArray();
        QTest::newRow("cfg control character is no gap") << cfg << QByteArray("LANDSTAL       1\x01" "2 3")
                                                        << QStringList{"LANDSTAL", QString::fromLatin1("1\x01" "2"), "3", ""} << QByteArray();
        QTest::newRow("cfg short line") << cfg << QByteArray("LANDSTAL") << QStringList{"LANDSTAL", "", ""} << QByteArray();
        QTest::newRow("cfg identifier over 15 characters") << cfg << QByteArray("LANDSTALXXXXXXXX 1.0 2.0")
                                                           << QStringList{"LANDSTALXXXXXXXX", "1.0", "2.0"} << QByteArray();
    }
    void fields()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, stored);
        OpenedFile h(kind, line + "\r\n");
        QCOMPARE(h.Row(h.file.FirstDataRow(), int(cells.size())), cells);
        QCOMPARE(QByteArray::fromStdString(h.file.FileLines()[0]), stored.isEmpty() ? line : stored);
        QCOMPARE(QString::fromStdString(h.file.RestoreEntries().at(0)), cells[kind == FileKind::DefaultIde ? 1 : 0]);
    }

    // The grid the views fill: counts keep the texts of the cells that remain, the current cell
    // stays out of the fixed rows and columns, cells outside read as empty and refuse a write, and
    // a widget showing it hears of every change, once.
    void grid()
    {
        struct Seen : GridObserver {
            QStringList heard;
            void GridLayoutChanged() override { heard << "layout"; }
            void GridCellChanged(int row, int col) override { heard << QString("cell %1,%2").arg(row).arg(col); }
            void GridCellsChanged() override { heard << "cells"; }
            void GridCurrentCellChanged() override { heard << "current"; }
            void GridEnabledChanged() override { heard << "enabled"; }
        } seen;
        Grid g;
        g.SetObserver(&seen);
        { Grid::Batch nothing(g); }  // a batch without changes says nothing
        g.SetCols(3);
        g.SetRows(4);
        QCOMPARE(std::tuple(g.FixedRows(), g.FixedCols(), g.Row(), g.Col()), std::tuple(0, 0, 0, 0));
        g.SetFixedRows(0);  // no fixed rows or columns make a grid too
        g.SetFixedCols(0);
        g.SetFixedCols(1);
        QCOMPARE(g.Col(), 1);  // the current cell leaves a column that became fixed
        g.SetFixedRows(2);
        QCOMPARE(std::pair(g.Row(), g.Col()), std::pair(2, 1));
        g.SetTextMatrix(3, 2, "x");
        g.SetTextMatrix(1, 1, "kept");
        g.SetTextMatrix(1, 0, "kept too");
        g.FillCell(1, 0, "kept too");  // the same text: nothing to tell
        g.FillCell(3, 1, "f");
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetTextMatrix(4, 0, "y"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetFixedRows(5));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetFixedCols(4));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetRow(1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetCol(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.SetColWidth(3, 10));
        g.SetRow(3);
        g.SetRow(3);
        g.SetCol(2);
        QCOMPARE(g.ColWidth(2), Grid::DefaultColWidth);
        g.SetColWidth(2, -5);
        QCOMPARE(g.ColWidth(2), 0);
        g.SetEnabled(true);
        g.SetEnabled(true);
        QCOMPARE(seen.heard, (QStringList{"layout", "layout", "layout", "layout", "layout", "layout", "cell 3,2", "cell 1,1", "cell 1,0", "cell 3,1", "current", "current",
                                          "layout", "enabled"}));
        g.SetRows(2);  // only fixed rows left: the current cell stays on the last one
        QCOMPARE(g.Row(), 1);
        g.SetCols(2);
        g.SetFixedRows(2);
        QCOMPARE(std::pair(g.Row(), g.Col()), std::pair(1, 1));
        QCOMPARE(std::pair(g.FixedRows(), g.FixedCols()), std::pair(2, 1));
        QCOMPARE(g.TextMatrix(1, 1), std::string("kept"));
        QCOMPARE(g.TextMatrix(1, 0), std::string("kept too"));
        QCOMPARE(g.TextMatrix(3, 2), std::string());
        g.SetFixedCols(2);
        QCOMPARE(g.Col(), 1);
        g.SetRows(4);
        QCOMPARE(g.TextMatrix(3, 2), std::string());  // what was cut is gone
        seen.heard.clear();
        g.Clear();
        QVERIFY(g.TextMatrix(1, 1).empty() && g.Rows() == 4 && g.ColWidth(0) == Grid::DefaultColWidth);
        QCOMPARE(seen.heard, QStringList{"layout"});
        QCOMPARE(g.ColWidth(g.Cols()), Grid::DefaultColWidth);  // past the last column

        // In a batch, however nested, the widget hears once of each kind of change, at the end,
        // or earlier when the batch sends what it has so far.
        seen.heard.clear();
        {
            Grid::Batch outer(g);
            {
                Grid::Batch inner(g);
                g.SetTextMatrix(2, 1, "a");
                g.SetTextMatrix(3, 1, "b");
                g.SetCols(3);
            }
            QVERIFY(seen.heard.isEmpty());
            g.SendPending();
            QCOMPARE(seen.heard, QStringList{"layout"});  // a new layout shows every cell anew
            g.SetTextMatrix(2, 2, "c");
            g.SetRow(3);
            g.SetEnabled(false);
        }
        QCOMPARE(seen.heard, (QStringList{"layout", "cells", "enabled", "current"}));
        QCOMPARE(g.TextMatrix(3, 1), std::string("b"));
    }

    // A file is read in pieces: a line, or its CR LF, may be cut anywhere between two of them.
    void linesAcrossPieces_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF cut") << QStringList{"a\r", "\nb"} << QStringList{"a", "b"};
        QTest::newRow("CR alone at a piece's end") << QStringList{"a\r", "b", "\nc"} << QStringList{"a", "b", "c"};
        QTest::newRow("line over three pieces") << QStringList{"ab", "cd", "e\r\n"} << QStringList{"abcde"};
        QTest::newRow("empty pieces") << QStringList{"", "a\r", "", "\n", "\n"} << QStringList{"a", ""};
    }
    void linesAcrossPieces()
    {
        QFETCH(QStringList, pieces);
        QFETCH(QStringList, lines);
        std::vector<std::string> read{"left from an earlier read", "and another"};
        text::LineSplitter split(read);
        for (const QString& piece : pieces)
            split.Feed(piece.toStdString());
        split.Finish();
        QStringList got;
        for (const std::string& line : read)
            got << QString::fromStdString(line);
        QCOMPARE(got, lines);
    }

    // A read into a grid that shows another file leaves what a read into an empty grid leaves:
    // no cell of the last file stays behind.
    void readAgainInTheSameGrid_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("ide") << FileKind::DefaultIde << Lines({"90, a, b, c, d", "91, e, f", "92, g", "end"})
                             << Lines({"90, a", "91, x, f, y", "end"});
        QTest::newRow("cfg") << FileKind::HandlingCfg << Lines({"LANDSTAL       1 2 3", ";- title", "IDAHO          4 5", "BIKE 6"})
                             << Lines({"LANDSTAL       1", "IDAHO          4 5 6 7", ";- title"});
    }
    void readAgainInTheSameGrid()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        OpenedFile h(kind, first);
        WriteBytes(h.path, second);
        h.Open(kind, Game::Gta3, FsPath(h.path));
        OpenedFile fresh(kind, second);
        QCOMPARE(GridCells(h.grid), GridCells(fresh.grid));
        QCOMPARE(h.file.FilledRows(), fresh.file.FilledRows());
        QCOMPARE(h.file.TitleRows(), fresh.file.TitleRows());
    }

    // No fixed bounds: many lines, a section far down, long lines and more vehicles than the view holds.
    // Vice City's handling view has room for its three titles beside its 106 vehicles.
    void largeFile_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("capacity");
        QTest::newRow("gta3 ide") << FileKind::DefaultIde << Game::Gta3 << 61 << 61;
        QTest::newRow("vc ide") << FileKind::DefaultIde << Game::ViceCity << 107 << 107;
        QTest::newRow("gta3 cfg") << FileKind::HandlingCfg << Game::Gta3 << 57 << 57;
        QTest::newRow("vc cfg") << FileKind::HandlingCfg << Game::ViceCity << 109 << 106;
    }
    void largeFile()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, rows);
        QFETCH(int, capacity);
        const bool ide = kind == FileKind::DefaultIde;
        const int comments = 700;
        QByteArray content;
        for (int i = 0; i < comments; ++i)
            content += (ide ? "# comment " : "; comment ") + QByteArray::number(i) + "\r\n";
        const QByteArray longName(400, 'n');
        const int firstId = game == Game::Gta3 ? 90 : 130;
        for (int i = 0; i <= rows; ++i) {
            const QByteArray id = QByteArray::number(firstId + i);
            content += ide ? id + "," + QByteArray(300, ' ') + longName + ",b\r\n"
                           : (i ? "V" + id : "LANDSTAL").leftJustified(15, ' ') + longName + " b\r\n";
        }
        OpenedFile h(kind, content + (ide ? "end\r\n" : ";\r\n"), game);
        QCOMPARE(h.file.LineCount(), comments + rows + 2);
        QCOMPARE(h.file.FirstVehicleLine(), comments);
        QCOMPARE(h.file.FilledRows(), rows);
        const QByteArray last = (ide ? "" : "V") + QByteArray::number(firstId + rows - 1);
        QCOMPARE(h.Row(h.file.FirstDataRow() + rows - 1, 3), (QStringList{last, longName, "b"}));
        QCOMPARE(QString::fromStdString(h.messages.shown.at(0).text), Capacity(capacity));
    }
};

QTEST_GUILESS_MAIN(TestReadFile)
#include "test_readfile.moc"
