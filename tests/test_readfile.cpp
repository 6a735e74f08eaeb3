#include <QTemporaryDir>
#include <QTest>

#include "ModelFakes.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)

namespace {

QString Lines(std::initializer_list<const char*> lines)
{
    QString out;
    for (const char* line : lines)
        out += QString::fromLatin1(line) + QStringLiteral("\r\n");
    return out;
}

const char* kCapacity57 =
    "More than 57 vehicles found in this file. Only the first 57 were loaded, but they won't be removed when saving.";

}  // namespace

class TestReadFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // Writes the text as a file in the temporary folder and opens it in a fresh harness.
    std::unique_ptr<Harness> OpenText(FileKind kind, Game game, const QByteArray& bytes)
    {
        const QString path = dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
        WriteBytes(path, bytes);
        auto h = std::make_unique<Harness>();
        h->Open(kind, game, FsPath(path));
        return h;
    }

private slots:
    void stockAndModdedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("firstVehicleLine");
        QTest::addColumn<int>("filledRows");
        QTest::addColumn<int>("vehicles");
        QTest::addColumn<QString>("capacityMessage");

        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << ide << Game::Gta3 << 222 << 60 << 61 << 61 << "";
        QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 123 << 65 << 57 << 57
                                           << kCapacity57;
        QTest::newRow("vc default.ide") << "vc/data/default.ide" << ide << Game::ViceCity << 399 << 181 << 107 << 107
                                        << "";
        QTest::newRow("vc handling.cfg") << "vc/data/handling.cfg" << cfg << Game::ViceCity << 254 << 81 << 109 << 106
                                         << "";
        QTest::newRow("gta3 added cars") << "modded/gta3-added-cars_default.ide" << ide << Game::Gta3 << -1 << -1 << 61
                                         << 61
                                         << "More than 61 vehicles found in this file. Only the first 61 were loaded, "
                                            "but they won't be removed when saving.";
        QTest::newRow("vc mod") << "modded/vc-mod_default.ide" << ide << Game::ViceCity << -1 << -1 << 107 << 107
                                << "More than 107 vehicles found in this file. Only the first 107 were loaded, but "
                                   "they won't be removed when saving.";
        QTest::newRow("vc generated") << "modded/vc-generated_handling.cfg" << cfg << Game::ViceCity << -1 << -1 << -1
                                      << -1 << "";
        QTest::newRow("vc tabbed") << "modded/vc-tabbed_handling.cfg" << cfg << Game::ViceCity << -1 << -1 << -1 << -1
                                   << "";
    }
    void stockAndModdedFiles()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, lineCount);
        QFETCH(int, firstVehicleLine);
        QFETCH(int, filledRows);
        QFETCH(int, vehicles);
        QFETCH(QString, capacityMessage);
        REVLANE_REQUIRE_FIXTURE(file, path);

        Harness h;
        h.file.SetModified(true);
        h.Open(kind, game, FsPath(path));
        const ConfigFile& f = h.file;

        QVERIFY(h.errors.reports.empty());
        QVERIFY(!f.Modified());
        QVERIFY(f.SectionFound());
        if (lineCount >= 0)
            QCOMPARE(f.LineCount(), lineCount);
        if (firstVehicleLine >= 0)
            QCOMPARE(f.FirstVehicleLine(), firstVehicleLine);
        if (filledRows >= 0)
            QCOMPARE(f.FilledRows(), filledRows);
        if (vehicles >= 0)
            QCOMPARE(int(h.view.restoreList.size()), vehicles);
        QVERIFY(f.FilledRows() <= h.grid.Rows() - h.grid.FixedRows());

        if (capacityMessage.isEmpty()) {
            QVERIFY(h.messages.shown.empty());
        } else {
            QCOMPARE(h.messages.shown.size(), size_t(1));
            QCOMPARE(QString::fromStdString(h.messages.shown[0].text), capacityMessage);
            QCOMPARE(h.messages.shown[0].icon, MsgIcon::Information);
            QCOMPARE(h.messages.shown[0].buttons, MsgButtons::OK);
        }
        // The window's file controls are on, the import box emptied and its vehicle cleared.
        QVERIFY(h.grid.Enabled());
        QVERIFY(h.view.controlsEnabled);
        QVERIFY(h.view.restoreEnabled);
        QCOMPARE(h.view.importText, std::string());
        QCOMPARE(h.view.clearImportCalls, 1);

        // Every vehicle row shows its own line: the first field of the line is in column 0.
        for (int row = f.FirstDataRow(); row < f.FirstDataRow() + f.FilledRows(); ++row) {
            if (f.IsTitleRow(row))
                continue;
            const std::string& line = f.FileLines()[size_t(f.LineOfRow(row))];
            const std::string& key = h.grid.TextMatrix(row, 0);
            QVERIFY2(!key.empty() && line.find(key) != std::string::npos, line.c_str());
        }
    }

    void tellingCells_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("LANDSTAL rear lights") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 3 << 31 << "1";
        QTest::newRow("LANDSTAL flags") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 3 << 29 << "C00B";
        QTest::newRow("LANDSTAL mass") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 3 << 1 << "1700.0";
        QTest::newRow("BORGNINE") << "gta3/data/handling.cfg" << cfg << Game::Gta3 << 59 << 0 << "BORGNINE";
        QTest::newRow("gta3 first model") << "gta3/data/default.ide" << ide << Game::Gta3 << 1 << 1 << "landstal";
        QTest::newRow("gta3 wheel scale") << "gta3/data/default.ide" << ide << Game::Gta3 << 1 << 11 << "0.8";
        QTest::newRow("vc first id") << "vc/data/default.ide" << ide << Game::ViceCity << 1 << 0 << "130";
        QTest::newRow("vc jetmax") << "vc/data/default.ide" << ide << Game::ViceCity << 94 << 1 << "jetmax";
        QTest::newRow("vc bikes title") << "vc/data/handling.cfg" << cfg << Game::ViceCity << 84 << 0
                                        << "------ bikes";
        QTest::newRow("vc last") << "vc/data/handling.cfg" << cfg << Game::ViceCity << 111 << 0 << "RCCOPTER";
        // Tabs after the identifier count five characters each, which keeps the first value out of it.
        QTest::newRow("vc RIO") << "vc/data/handling.cfg" << cfg << Game::ViceCity << -1 << 0 << "RIO";
        QTest::newRow("vc HUNTER") << "vc/data/handling.cfg" << cfg << Game::ViceCity << -1 << 0 << "HUNTER";
    }
    void tellingCells()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, text);
        REVLANE_REQUIRE_FIXTURE(file, path);
        Harness h;
        h.Open(kind, game, FsPath(path));
        if (row < 0) {
            const auto& list = h.view.restoreList;
            QVERIFY(std::find(list.begin(), list.end(), text.toStdString()) != list.end());
            return;
        }
        QCOMPARE(QString::fromStdString(h.grid.TextMatrix(row, col)), text);
    }

    void viceCityTitleRows()
    {
        REVLANE_REQUIRE_FIXTURE("vc/data/handling.cfg", path);
        Harness h;
        h.Open(FileKind::HandlingCfg, Game::ViceCity, FsPath(path));
        QCOMPARE(h.file.TitleRows(), (std::vector<int>{84, 90, 101}));
        QCOMPARE(h.grid.TextMatrix(90, 0), std::string("------ boats"));
        QCOMPARE(h.grid.TextMatrix(101, 1), std::string());
        QVERIFY(!h.file.IsVehicleRow(90));
        QVERIFY(h.file.IsVehicleRow(91));
    }

    // Small files for the rules that decide where the vehicle section starts and ends.
    void sectionBounds_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QStringList>("column0");

        const auto ide = FileKind::DefaultIde;
        const auto cfg = FileKind::HandlingCfg;
        QTest::newRow("ide without end runs to the file's end")
            << ide << Lines({"# c", "cars", "90, a", "91, b"}) << QStringList{"90", "91"};
        QTest::newRow("ide blank line ends it") << ide << Lines({"90, a", "   ", "91, b"}) << QStringList{"90"};
        QTest::newRow("ide empty line ends it") << ide << Lines({"90, a", "", "91, b"}) << QStringList{"90"};
        QTest::newRow("ide END and 'end ' do not end it")
            << ide << Lines({"90, a", "END", "end ", "# x", "end", "91, b"}) << QStringList{"90", "END", "end", "# x"};
        QTest::newRow("ide marker is case and place exact")
            << ide << Lines({" 90, x", "900, y", "90, a"}) << QStringList{"90"};
        // A second line with the marker is one more vehicle; it does not move the section's start.
        QTest::newRow("ide second marker") << ide << Lines({"90, a", "90, b", "end"}) << QStringList{"90", "90"};
        QTest::newRow("cfg end markers") << cfg
                                         << Lines({"; A header", "LANDSTAL       1 2", ";A", "; B", ";   ", "; A x"})
                                         << QStringList{"LANDSTAL", ";A", "; B", ";"};
        QTest::newRow("cfg lone semicolon ends") << cfg << Lines({"LANDSTAL 1", ";", "IDAHO 2"})
                                                 << QStringList{"LANDSTAL 1"};
        QTest::newRow("cfg line after a title is always a vehicle")
            << cfg << Lines({"LANDSTAL       1", ";- cars", ";", ";-- more", "; A", "IDAHO          2", "; A"})
            << QStringList{"LANDSTAL", " cars", ";", "- more", "; A", "IDAHO"};
        QTest::newRow("cfg five titles") << cfg
                                         << Lines({"LANDSTAL       1", ";-1", "A 1", ";-2", "B 1", ";-3", "C 1", ";-4",
                                                   "D 1", ";-5", "E 1"})
                                         << QStringList{"LANDSTAL", "1", "A 1", "2", "B 1", "3", "C 1", "4", "D 1",
                                                        "5", "E 1"};
        QTest::newRow("cfg title as last line") << cfg << Lines({"LANDSTAL       1", ";-end"})
                                                << QStringList{"LANDSTAL", "end"};
    }
    void sectionBounds()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, content);
        QFETCH(QStringList, column0);
        auto h = OpenText(kind, Game::Gta3, content.toLatin1());
        QStringList shown;
        for (int row = h->file.FirstDataRow(); row < h->file.FirstDataRow() + h->file.FilledRows(); ++row)
            shown << QString::fromStdString(h->grid.TextMatrix(row, 0));
        QCOMPARE(shown, column0);
        QCOMPARE(h->grid.TextMatrix(h->file.FirstDataRow() + h->file.FilledRows(), 0), std::string());
        // Every row shows the line at the same distance below the first vehicle line.
        for (int row = h->file.FirstDataRow(); row < h->file.FirstDataRow() + h->file.FilledRows(); ++row)
            QCOMPARE(h->file.LineOfRow(row), h->file.FirstVehicleLine() + row - h->file.FirstDataRow());
    }

    void defaultFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("tabs and spaces around") << "90,\t landstal\t\t, \tx\t" << QStringList{"90", "landstal", "x"};
        QTest::newRow("tab inside a field joins") << "90, land\tstal" << QStringList{"90", "landstal"};
        QTest::newRow("empty fields") << "90,,," << QStringList{"90", "", "", ""};
        QTest::newRow("one field too many")
            << "90,a,b,c,d,e,f,g,h,i,j,k,EXTRA"
            << QStringList{"90", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
    }
    void defaultFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, cells);
        auto h = OpenText(FileKind::DefaultIde, Game::Gta3, (line + "\r\n").toLatin1());
        QStringList shown;
        for (int c = 0; c < h->grid.Cols(); ++c)
            shown << QString::fromStdString(h->grid.TextMatrix(1, c));
        while (shown.size() > cells.size() && shown.last().isEmpty())
            shown.removeLast();
        QCOMPARE(shown, cells);
        // The stored line is never touched by reading default.ide.
        QCOMPARE(QString::fromStdString(h->file.FileLines()[0]), line);
        if (cells.size() > 1)
            QCOMPARE(QString::fromStdString(h->view.restoreList.at(0)), cells[1]);
    }

    void handlingFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("stored");
        QTest::newRow("mixed gaps") << "LANDSTAL       1.0 \t2.0             3.0\t\t4  "
                                    << QStringList{"LANDSTAL", "1.0", "2.0", "3.0", "4"}
                                    << "LANDSTAL       1.0      2.0             3.0          4  ";
        QTest::newRow("tab in the identifier field")
            << "LANDSTAL\t  1.0 2.0" << QStringList{"LANDSTAL", "1.0", "2.0"} << "LANDSTAL       1.0 2.0";
        QTest::newRow("short line") << "LANDSTAL" << QStringList{"LANDSTAL", ""} << "LANDSTAL";
        QTest::newRow("15-character identifier") << "LANDSTALXXXXXXX1.0 2.0"
                                                 << QStringList{"LANDSTALXXXXXXX", "1.0", "2.0"}
                                                 << "LANDSTALXXXXXXX1.0 2.0";
    }
    void handlingFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, cells);
        QFETCH(QString, stored);
        auto h = OpenText(FileKind::HandlingCfg, Game::Gta3, (line + "\r\n").toLatin1());
        QStringList shown;
        for (int c = 0; c < cells.size(); ++c)
            shown << QString::fromStdString(h->grid.TextMatrix(3, c));
        QCOMPARE(shown, cells);
        QCOMPARE(h->grid.TextMatrix(3, int(cells.size())), std::string());
        QCOMPARE(QString::fromStdString(h->file.FileLines()[0]), stored);
    }

    void lastFieldInLastReachedColumn()
    {
        // 40 values in a 32-column view: columns 1 to 31 take the first 31 values.
        QByteArray line = "LANDSTAL       ";
        for (int v = 1; v <= 40; ++v)
            line += QByteArray::number(v) + (v % 3 ? " " : "\t   ");
        auto h = OpenText(FileKind::HandlingCfg, Game::Gta3, line);
        QCOMPARE(h->grid.TextMatrix(3, 31), std::string("31"));
    }

    void restoreControlsNeedThreeVehicles_data()
    {
        QTest::addColumn<int>("vehicles");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("two") << 2 << false;
        QTest::newRow("three") << 3 << true;
    }
    void restoreControlsNeedThreeVehicles()
    {
        QFETCH(int, vehicles);
        QFETCH(bool, enabled);
        QByteArray content;
        for (int i = 0; i < vehicles; ++i)
            content += QByteArray::number(90 + i) + ", car" + QByteArray::number(i) + "\r\n";
        auto h = OpenText(FileKind::DefaultIde, Game::Gta3, content);
        QCOMPARE(int(h->view.restoreList.size()), vehicles);
        QCOMPARE(h->view.restoreEnabled, enabled);
        QVERIFY(h->view.controlsEnabled);
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
        content += "end\r\n";
        auto h = OpenText(FileKind::DefaultIde, Game::Gta3, content);
        QCOMPARE(h->file.LineCount(), 781);
        QCOMPARE(h->file.FirstVehicleLine(), 700);
        QCOMPARE(h->file.FilledRows(), 61);
        QCOMPARE(h->grid.TextMatrix(61, 1), longName.toStdString());
        QCOMPARE(h->grid.TextMatrix(61, 2), std::string("b"));
        QCOMPARE(h->messages.shown.size(), size_t(1));
        QVERIFY(h->errors.reports.empty());
    }

    void noSectionLoadsNoRows()
    {
        auto h = OpenText(FileKind::HandlingCfg, Game::ViceCity, "; nothing here\r\n;\r\n");
        QVERIFY(!h->file.SectionFound());
        QCOMPARE(h->file.FilledRows(), 0);
        QCOMPARE(h->file.LineCount(), 2);
        QVERIFY(h->view.controlsEnabled);
        QVERIFY(h->messages.shown.empty());
        QVERIFY(h->errors.reports.empty());
    }

    void failedReadIsReported()
    {
        // A folder where the file should be: the read fails, the rest of the routine still runs.
        QTemporaryDir local;
        const QString path = local.filePath("default.ide");
        QVERIFY(QDir().mkdir(path));
        Harness h;
        h.file.SetModified(true);
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        QVERIFY(!h.file.Modified());
        QCOMPARE(h.file.LineCount(), 0);
        QVERIFY(h.view.controlsEnabled);
        QCOMPARE(h.errors.reports.size(), size_t(1));
        const QString report = QString::fromStdString(h.errors.reports[0]);
        QVERIFY2(report.startsWith("Error code # "), qPrintable(report));
        QVERIFY2(report.contains("\r\nRoutine: ReadFile\r\nOS: Test OS 1.0"), qPrintable(report));
        QVERIFY2(report.contains(path), qPrintable(report));
    }
};

QTEST_GUILESS_MAIN(TestReadFile)
#include "test_readfile.moc"
