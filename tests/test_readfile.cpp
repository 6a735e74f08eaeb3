#include <QTemporaryDir>
#include <QTest>

#include "ModelFakes.h"

using namespace revlane;
using namespace revlane::test;

namespace {

QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

QString Capacity(int max)
{
    return QString("More than %1 vehicles found in this file. Only the first %1 were loaded, but they won't be "
                   "removed when saving.")
        .arg(max);
}

QStringList Row(const Grid& grid, int row, int cols)
{
    QStringList cells;
    for (int c = 0; c < cols; ++c)
        cells << QString::fromStdString(grid.TextMatrix(row, c));
    return cells;
}

}  // namespace

class TestReadFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // Writes the bytes as a file in the temporary folder and opens it in a fresh harness.
    std::unique_ptr<Harness> OpenBytes(FileKind kind, const QByteArray& bytes, Game game = Game::Gta3)
    {
        const QString path = dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
        WriteBytes(path, bytes);
        auto h = std::make_unique<Harness>();
        h->Open(kind, game, FsPath(path));
        return h;
    }

private slots:
    void gamesFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("firstVehicleLine");  // -1: not checked
        QTest::addColumn<int>("filledRows");
        QTest::addColumn<int>("vehicles");
        QTest::addColumn<QString>("message");
        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << ide << Game::Gta3 << 60 << 61 << 61 << "";
        // ";the end" right after BORGNINE is one more vehicle line, beyond the view's 57 rows.
        QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 65 << 57 << 57
                                           << Capacity(57);
        QTest::newRow("vc default.ide") << "vc/data/default.ide" << ide << Game::ViceCity << 181 << 107 << 107 << "";
        QTest::newRow("vc handling.cfg") << "vc/data/handling.cfg" << cfg << Game::ViceCity << 81 << 109 << 106 << "";
        QTest::newRow("gta3 added cars") << "modded/gta3-added-cars_default.ide" << ide << Game::Gta3 << 60 << 61 << 61
                                         << Capacity(61);
        QTest::newRow("vc mod") << "modded/vc-mod_default.ide" << ide << Game::ViceCity << -1 << 107 << 107
                                << Capacity(107);
        QTest::newRow("vc generated") << "modded/vc-generated_handling.cfg" << cfg << Game::ViceCity << -1 << 106
                                      << 106 << "";
        QTest::newRow("vc tabbed, a lone semicolon ends it") << "modded/vc-tabbed_handling.cfg" << cfg << Game::ViceCity << 4 << 103 << 103
                                   << "";
    }
    void gamesFiles()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, firstVehicleLine);
        QFETCH(int, filledRows);
        QFETCH(int, vehicles);
        QFETCH(QString, message);
        REVLANE_REQUIRE_FIXTURE(file, path);
        Harness h;
        h.file.SetModified(true);
        h.Open(kind, game, FsPath(path));
        const ConfigFile& f = h.file;
        QVERIFY(h.errors.reports.empty());
        QVERIFY(!f.Modified());
        if (firstVehicleLine >= 0)
            QCOMPARE(f.FirstVehicleLine(), firstVehicleLine);
        QCOMPARE(f.FilledRows(), filledRows);
        QCOMPARE(int(f.RestoreEntries().size()), vehicles);
        QCOMPARE(h.messages.shown.size(), size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty()) {
            QCOMPARE(QString::fromStdString(h.messages.shown[0].text), message);
            QCOMPARE(h.messages.shown[0].icon, MsgIcon::Information);
        }
        QVERIFY(h.grid.Enabled() && f.IsOpen());
        // Every vehicle row shows its own line.
        for (int row = f.FirstDataRow(); row < f.FirstDataRow() + f.FilledRows(); ++row) {
            const std::string& line = f.FileLines()[size_t(f.LineOfRow(row))];
            QVERIFY2(line.find(h.grid.TextMatrix(row, 0)) != std::string::npos, line.c_str());
        }
    }

    void tellingCells_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::newRow("LANDSTAL rear lights") << "gta3/data/handling.cfg" << Game::Gta3 << 3 << 31 << "1";
        QTest::newRow("LANDSTAL flags") << "gta3/data/handling.cfg" << Game::Gta3 << 3 << 29 << "C00B";
        QTest::newRow("BORGNINE") << "gta3/data/handling.cfg" << Game::Gta3 << 59 << 0 << "BORGNINE";
        QTest::newRow("vc jetmax") << "vc/data/default.ide" << Game::ViceCity << 94 << 1 << "jetmax";
        QTest::newRow("vc bikes title") << "vc/data/handling.cfg" << Game::ViceCity << 84 << 0 << "------ bikes";
        QTest::newRow("vc boats title") << "vc/data/handling.cfg" << Game::ViceCity << 90 << 0 << "------ boats";
        // RIO's tabs count five characters each, which keeps its first value out of the identifier.
        QTest::newRow("vc RIO") << "vc/data/handling.cfg" << Game::ViceCity << 94 << 0 << "RIO";
        QTest::newRow("vc last") << "vc/data/handling.cfg" << Game::ViceCity << 111 << 0 << "RCCOPTER";
    }
    void tellingCells()
    {
        QFETCH(QString, file);
        QFETCH(Game, game);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, text);
        REVLANE_REQUIRE_FIXTURE(file, path);
        Harness h;
        h.Open(file.endsWith(".ide") ? FileKind::DefaultIde : FileKind::HandlingCfg, game, FsPath(path));
        QCOMPARE(QString::fromStdString(h.grid.TextMatrix(row, col)), text);
        if (file == "vc/data/handling.cfg")
            QCOMPARE(h.file.TitleRows(), (std::vector<int>{84, 90, 101}));
    }

    // Where the vehicle section starts and ends: column 0 of the rows filled.
    void sectionBounds_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("column0");
        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("ide without end") << ide << Lines({"# c", "90, a", "91, b"}) << QStringList{"90", "91"};
        QTest::newRow("ide blank line ends it") << ide << Lines({"90, a", "   ", "91, b"}) << QStringList{"90"};
        QTest::newRow("ide END and 'end ' do not end it")
            << ide << Lines({"90, a", "END", "end ", "# x", "end", "91, b"}) << QStringList{"90", "END", "end", "# x"};
        QTest::newRow("ide marker is exact") << ide << Lines({" 90, x", "900, y", "90, a"}) << QStringList{"90"};
        // A second line with the marker is one more vehicle; it does not move the section's start.
        QTest::newRow("ide second marker") << ide << Lines({"90, a", "90, b", "end"}) << QStringList{"90", "90"};
        QTest::newRow("no marker") << ide << Lines({"# c", "end"}) << QStringList{};
        QTest::newRow("cfg end markers") << cfg << Lines({"LANDSTAL       1 2", ";A", "; B", ";   ", "; A x"})
                                         << QStringList{"LANDSTAL", ";A", "; B", ";"};
        QTest::newRow("cfg lone semicolon ends") << cfg << Lines({"LANDSTAL 1", ";", "IDAHO 2"})
                                                 << QStringList{"LANDSTAL 1"};
        QTest::newRow("cfg line after a title is a vehicle")
            << cfg << Lines({"LANDSTAL       1", ";- cars", ";", ";-- more", "; A", "IDAHO          2", "; A"})
            << QStringList{"LANDSTAL", " cars", ";", "- more", "; A", "IDAHO"};
        QTest::newRow("cfg five titles, one at the end")
            << cfg << Lines({"LANDSTAL       1", ";-1", "A 1", ";-2", ";-3", ";-4", "D 1", ";-5"})
            << QStringList{"LANDSTAL", "1", "A 1", "2", ";-3", "4", "D 1", "5"};
    }
    void sectionBounds()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, column0);
        auto h = OpenBytes(kind, content);
        const int first = h->file.FirstDataRow();
        QStringList shown;
        for (int row = first; row < first + h->file.FilledRows(); ++row) {
            shown << QString::fromStdString(h->grid.TextMatrix(row, 0));
            QCOMPARE(h->file.LineOfRow(row), h->file.FirstVehicleLine() + row - first);
        }
        QCOMPARE(shown, column0);
        QVERIFY(h->messages.shown.empty() && h->errors.reports.empty());
    }

    void fields_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QByteArray>("stored");
        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("ide tabs and spaces around") << ide << QByteArray("90,\t landstal\t\t, \tx\t")
                                                    << QStringList{"90", "landstal", "x", ""} << QByteArray();
        QTest::newRow("ide tab inside a field joins") << ide << QByteArray("90, land\tstal")
                                                      << QStringList{"90", "landstal", ""} << QByteArray();
        QTest::newRow("ide one field too many")
            << ide << QByteArray("90,a,b,c,d,e,f,g,h,i,j,k,EXTRA")
            << QStringList{"90", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"} << QByteArray();
        QTest::newRow("cfg mixed gaps") << cfg << QByteArray("LANDSTAL       1.0 \t2.0             3.0\t\t4  ")
                                        << QStringList{"LANDSTAL", "1.0", "2.0", "3.0", "4", ""}
                                        << QByteArray("LANDSTAL       1.0      2.0             3.0          4  ");
        QTest::newRow("cfg tab in the identifier field") << cfg << QByteArray("LANDSTAL\t  1.0 2.0")
                                                         << QStringList{"LANDSTAL", "1.0", "2.0", ""}
                                                         << QByteArray("LANDSTAL       1.0 2.0");
        QTest::newRow("cfg short line") << cfg << QByteArray("LANDSTAL") << QStringList{"LANDSTAL", "", ""}
                                        << QByteArray("LANDSTAL");
        QTest::newRow("cfg 15-character identifier") << cfg << QByteArray("LANDSTALXXXXXXX1.0 2.0")
                                                     << QStringList{"LANDSTALXXXXXXX", "1.0", "2.0"}
                                                     << QByteArray("LANDSTALXXXXXXX1.0 2.0");
    }
    void fields()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, stored);
        auto h = OpenBytes(kind, line + "\r\n");
        QCOMPARE(Row(h->grid, h->file.FirstDataRow(), int(cells.size())), cells);
        // Reading keeps default.ide lines as they are; handling.cfg lines keep their tabs expanded.
        QCOMPARE(QByteArray::fromStdString(h->file.FileLines()[0]), stored.isEmpty() ? line : stored);
        if (kind == FileKind::DefaultIde)
            QCOMPARE(QString::fromStdString(h->file.RestoreEntries().at(0)), cells[1]);
    }

    // The restore controls follow the restore list: more than two vehicles named in it.
    void restoreControlsNeedThreeVehicles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("entries");
        QTest::newRow("two") << Lines({"90, a", "91, b"}) << 2;
        QTest::newRow("three") << Lines({"90, a", "91, b", "92, c"}) << 3;
        QTest::newRow("three lines, one naming no vehicle") << Lines({"90, a", "91, b", "no comma"}) << 2;
    }
    void restoreControlsNeedThreeVehicles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, entries);
        auto h = OpenBytes(FileKind::DefaultIde, content);
        QCOMPARE(int(h->file.RestoreEntries().size()), entries);
    }

    // No fixed bounds: many lines, a section far down, long lines and more vehicles than the view holds.
    void largeFile()
    {
        QByteArray content;
        for (int i = 0; i < 700; ++i)
            content += "# comment " + QByteArray::number(i) + "\r\n";
        const QByteArray longName(400, 'n');
        for (int i = 0; i < 80; ++i)
            content += QByteArray::number(90 + i) + "," + QByteArray(300, ' ') + longName + ",b\r\n";
        auto h = OpenBytes(FileKind::DefaultIde, content + "end\r\n");
        QCOMPARE(h->file.LineCount(), 781);
        QCOMPARE(h->file.FirstVehicleLine(), 700);
        QCOMPARE(h->file.FilledRows(), 61);
        QCOMPARE(h->grid.TextMatrix(61, 1), longName.toStdString());
        QCOMPARE(h->grid.TextMatrix(61, 2), std::string("b"));
        QCOMPARE(QString::fromStdString(h->messages.shown.at(0).text), Capacity(61));
    }
};

QTEST_GUILESS_MAIN(TestReadFile)
#include "test_readfile.moc"
