#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Desk.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

// The grid views, editing a cell in place, express import and restore, through the real window.
class TestMainWindow : public QObject {
    Q_OBJECT

    static std::string LineOf(const Desk& desk, int row)
    {
        const ConfigFile& file = desk.w->File();
        return file.FileLines().at(size_t(file.LineOfRow(row)));
    }

private slots:
    // Each view over the games' own files: its shape, its headers, the import hint; the headers
    // and the fixed columns stay in view while the body scrolls.
    void views_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("cells");  // "row,col=text"
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("gta3 default.ide") << ide << Game::Gta3 << 12 << 62
                                          << QStringList{"0,0=", "0,6=Class", "0,11=Wheel scale", "1,1=landstal"};
        QTest::newRow("vc default.ide")
            << ide << Game::ViceCity << 13 << 108
            << QStringList{"0,0=", "0,6=Anims", "0,7=Class", "0,10=Comprules", "0,11=Wheel model", "0,12=Wheel scale"};
        QTest::newRow("gta3 handling.cfg")
            << cfg << Game::Gta3 << 32 << 60
            << QStringList{"0,0=A", "1,10=fTractionLoss", "2,26=", "1,29=flags", "2,31=0=long, 1=small, 2=big, 3=tall",
                           "3,31=1"};
        QTest::newRow("vc handling.cfg")
            << cfg << Game::ViceCity << 33 << 112
            << QStringList{"1,29=suspension anti-dive multiplier", "2,29=", "1,30=flags", "0,32=AG", "1,32=rear lights",
                           "84,0=------ bikes"};
    }
    void views()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(QStringList, cells);
        const QString folder = game == Game::Gta3 ? "gta3/data/" : "vc/data/";
        REVLANE_REQUIRE_FIXTURE(folder + "default.ide", ide);
        REVLANE_REQUIRE_FIXTURE(folder + "handling.cfg", cfg);
        Desk desk;
        desk.InstallChosen(game, ReadBytes(ide), ReadBytes(cfg));
        desk.Start();
        desk.Open(kind);
        const Grid& g = desk.Grid()->model();
        QCOMPARE(g.Cols(), cols);
        QCOMPARE(g.Rows(), rows);
        for (const QString& cell : cells) {
            const int comma = cell.indexOf(','), equals = cell.indexOf('=');
            QCOMPARE(QString::fromStdString(g.TextMatrix(cell.left(comma).toInt(), cell.mid(comma + 1, equals - comma - 1).toInt())),
                     cell.mid(equals + 1));
        }
        QCOMPARE(desk.Find<QLineEdit>("txtImport")->text(),
                 QString(kind == FileKind::DefaultIde ? "[insert comma separated values and click Apply]"
                                                      : "[ insert values separated by one or more spaces or tabs and click Apply ]"));
        QVERIFY(desk.Enabled("comRestore") && desk.Find<QComboBox>("comRestore")->currentIndex() == 0);

        // Column widths on screen follow the twips, and the headers stay while the body scrolls.
        ui::FlexGrid* grid = desk.Grid();
        QCOMPARE(grid->CellRect(0, 0).width(), qRound(grid->logicalDpiX() * (kind == FileKind::DefaultIde ? 500 : 1600) / 1440.0));
        QCOMPARE(grid->CellRect(0, cols - 1).width(), qRound(grid->logicalDpiX() * 1200 / 1440.0));
        const QRect header = grid->CellRect(0, cols - 1), fixed = grid->CellRect(rows - 1, 0);
        grid->MoveTo(rows - 1, cols - 1);
        QCOMPARE(grid->CellRect(0, cols - 1).top(), header.top());
        QCOMPARE(grid->CellRect(rows - 1, 0).left(), fixed.left());
        QVERIFY(grid->viewport()->geometry().contains(grid->CellRect(rows - 1, cols - 1).center()));
        QVERIFY(grid->viewport()->geometry().contains(grid->CellRect(rows - 1, cols - 1).bottomRight()));
    }

    // Every way of opening the editor over LANDSTAL's fMass, and every way of ending the edit.
    void editingGestures_data()
    {
        QTest::addColumn<QString>("open");   // how the editor is opened
        QTest::addColumn<QString>("editor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");  // typed into the editor
        QTest::addColumn<QString>("close");  // how it is closed
        QTest::addColumn<QString>("cell");   // the cell afterwards
        QTest::addColumn<int>("row");        // the current row afterwards
        QTest::newRow("digit replaces") << "7" << "7" << 1 << "" << "enter" << "7" << 3;
        QTest::newRow("space keeps") << "space" << "1700.0" << 6 << "5" << "enter" << "1700.05" << 3;
        QTest::newRow("backspace keeps") << "backspace" << "1700.0" << 6 << "" << "enter" << "1700.0" << 3;
        QTest::newRow("escape on the grid keeps") << "escape" << "1700.0" << 6 << "" << "enter" << "1700.0" << 3;
        QTest::newRow("enter on the grid keeps") << "enter" << "1700.0" << 6 << "" << "enter" << "1700.0" << 3;
        QTest::newRow("double-click") << "dclick" << "1700.0" << 6 << "1" << "enter" << "1700.01" << 3;
        QTest::newRow("long text: caret after 15") << "long" << "123456789012345678" << 15 << "" << "enter"
                                                   << "123456789012345678" << 3;
        QTest::newRow("escape cancels") << "7" << "7" << 1 << "" << "escape" << "1700.0" << 3;
        QTest::newRow("down commits, then moves") << "space" << "1700.0" << 6 << "9" << "down" << "1700.09" << 4;
        QTest::newRow("up on the first row stays") << "7" << "7" << 1 << "" << "up" << "7" << 3;
        QTest::newRow("click elsewhere commits") << "7" << "7" << 1 << "" << "click" << "7" << 5;
        QTest::newRow("another control commits") << "7" << "7" << 1 << "1" << "focus" << "71" << 3;
    }
    void editingGestures()
    {
        QFETCH(QString, open);
        QFETCH(QString, editor);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, close);
        QFETCH(QString, cell);
        QFETCH(int, row);
        Desk desk;
        desk.InstallChosen(Game::Gta3, kSmallIde,
                           open == "long" ? QByteArray(kSmallCfg).replace("1700.0", "123456789012345678") : kSmallCfg);
        desk.Start();
        desk.Open(FileKind::HandlingCfg);
        const std::string before = LineOf(desk, 3);
        auto* txtGrid = desk.Find<QLineEdit>("txtGrid");
        desk.Select(3, 1);
        const std::map<QString, Qt::Key> keys = {{"space", Qt::Key_Space}, {"backspace", Qt::Key_Backspace},
                                                 {"escape", Qt::Key_Escape}, {"enter", Qt::Key_Return},
                                                 {"long", Qt::Key_Return}, {"down", Qt::Key_Down}, {"up", Qt::Key_Up}};
        if (open == "dclick") {
            desk.ClickCell(3, 1);
            QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(3, 1));
        } else if (keys.count(open)) {
            QTest::keyClick(desk.Grid(), keys.at(open));
        } else {
            QTest::keyClicks(desk.Grid(), open);
        }
        QVERIFY(txtGrid->isVisible());
        QCOMPARE(txtGrid->text(), editor);
        QCOMPARE(txtGrid->cursorPosition(), caret);
        QCOMPARE(QString::fromStdString(desk.CellText(3, 1)), open == "long" ? editor : QString("1700.0"));
        // The editor lies over the cell.
        const QRect over = desk.Grid()->CellRect(3, 1).translated(desk.Grid()->pos());
        QCOMPARE(txtGrid->geometry().topLeft(), over.topLeft());
        QCOMPARE(txtGrid->width(), over.width());

        QTest::keyClicks(txtGrid, typed);
        if (close == "click")
            desk.ClickCell(5, 2);
        else if (close == "focus")
            desk.Find("txtImport")->setFocus();
        else
            QTest::keyClick(txtGrid, keys.at(close));

        QVERIFY(!txtGrid->isVisible());
        QCOMPARE(QString::fromStdString(desk.CellText(3, 1)), cell);
        const bool cancelled = close == "escape";
        QCOMPARE(desk.w->File().Modified(), !cancelled);
        if (cancelled)
            QCOMPARE(LineOf(desk, 3), before);
        else
            QVERIFY(text::StartsWith(LineOf(desk, 3), "LANDSTAL       " + cell.toStdString() + " 2.0 5.0 "));
        QCOMPARE(desk.Grid()->model().Row(), row);
        QCOMPARE(desk.Grid()->model().Col(), close == "click" ? 2 : 1);
        QCOMPARE(QApplication::focusWidget(), close == "focus" ? desk.Find("txtImport") : desk.Grid());
    }

    // Section titles and the empty rows below the last vehicle have no line of their own: no key
    // or click opens the editor there. Neither do the headers and the fixed columns ever become
    // the current cell.
    void editorRefusesRowsWithoutAVehicleLine_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("section title") << 4;
        QTest::newRow("empty row below the last vehicle") << 7;
        QTest::newRow("last row of the grid") << 59;
    }
    void editorRefusesRowsWithoutAVehicleLine()
    {
        QFETCH(int, row);
        Desk desk;
        desk.InstallChosen(Game::Gta3);
        desk.Start();
        desk.Open(FileKind::HandlingCfg);
        desk.Select(row, 2);
        QTest::keyClick(desk.Grid(), '7');
        QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(row, 2));
        QTest::keyClick(desk.Grid(), Qt::Key_Return);
        QVERIFY(!desk.Find("txtGrid")->isVisible());
        QVERIFY(!desk.w->File().Modified());
        desk.ClickCell(row, 0);  // the identifier, a fixed column
        desk.ClickCell(1, 3);    // a header
        QCOMPARE(desk.Grid()->model().Row(), row);
        QCOMPARE(desk.Grid()->model().Col(), 2);
        QTest::keyClick(desk.Grid(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(desk.Grid()->model().Row(), 3);
        QCOMPARE(desk.Grid()->model().Col(), 1);
    }

    // Scrolling by a click on either scroll bar neither moves nor closes an open editor, and the
    // keys typed afterwards still go to it.
    void scrollingLeavesTheEditorOpen()
    {
        Desk desk;
        desk.InstallChosen(Game::Gta3);
        desk.Start();
        desk.Open(FileKind::HandlingCfg);
        desk.Select(5, 2);
        QTest::keyClicks(desk.Grid(), "1");
        auto* editor = desk.Find<QLineEdit>("txtGrid");
        QTest::keyClicks(editor, "2");
        const QRect geometry = editor->geometry();
        QScrollBar* across = desk.Grid()->horizontalScrollBar();
        QScrollBar* down = desk.Grid()->verticalScrollBar();
        QTest::mouseClick(across, Qt::LeftButton, {}, QPoint(across->width() - 4, across->height() / 2));
        QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(down->width() / 2, down->height() - 4));
        QVERIFY(across->value() > 0 && down->value() > 0);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->geometry(), geometry);
        QTest::keyClicks(editor, "34");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(desk.CellText(5, 2), std::string("1234"));
    }

    // Every way of leaving a file with unsaved changes asks first. Cancel, or a save the user asked
    // for that failed, keeps the file open with its changes, as though nothing had been asked.
    void leavingWithUnsavedChanges_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        const int yes = int(MsgAnswer::Yes), no = int(MsgAnswer::No), cancel = int(MsgAnswer::Cancel);
        for (const char* how : {"file", "game", "browse", "run", "exit"}) {
            QTest::addRow("%s, yes", how) << how << true << yes << false;
            QTest::addRow("%s, no", how) << how << true << no << false;
            if (QByteArray(how) != "game" && QByteArray(how) != "browse")
                QTest::addRow("%s, cancel", how) << how << true << cancel << false;
            QTest::addRow("%s, yes, the save fails", how) << how << true << yes << true;
        }
        QTest::newRow("run, nothing changed") << "run" << false << 0 << false;
        QTest::newRow("exit, nothing changed") << "exit" << false << 0 << false;
    }
    void leavingWithUnsavedChanges()
    {
        QFETCH(QString, how);
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        Desk desk;
        const QString gta3 = desk.InstallChosen(Game::Gta3);
        const QString vice = desk.Install("vice", {"gta-vc.exe"});
        desk.Store("Vice/VicePath", vice);
        desk.Store("Vice/ViceExe", vice + QDir::separator() + "gta-vc.exe");
        ui::frmMain& w = desk.Start();
        desk.Open(FileKind::DefaultIde);
        const QString ide = Desk::DataFile(gta3, "default.ide");
        if (edited)
            desk.Edit(2, 7, "3");
        if (saveFails)
            desk.files.faults.push_back({FaultyFileSystem::Op::Write, {}, ENOSPC});
        desk.messages.answers.push_back(MsgAnswer(answer));
        if (how == "file") {
            desk.Open(FileKind::HandlingCfg);
        } else if (how == "game") {
            desk.Click("optVice");
        } else if (how == "browse") {
            desk.picker.answers.push_back(vice);
            desk.Click("cmdBrowse");
        } else {
            desk.Click(how == "run" ? "cmdRun" : "cmdExit");
        }

        int questions = 0;
        for (const ShownMessage& shown : desk.messages.shown)
            questions += text::StartsWith(shown.text, "Save changes to ");
        QCOMPARE(questions, int(edited));
        if (edited) {
            const ShownMessage& question = desk.messages.shown.front();
            QCOMPARE(QString::fromStdString(question.text), "Save changes to " + ide + "?");
            QCOMPARE(question.buttons, how == "game" || how == "browse" ? MsgButtons::YesNo : MsgButtons::YesNoCancel);
            QCOMPARE(question.icon, MsgIcon::Question);
        }
        QCOMPARE(ReadBytes(ide).contains("poorfamily,\t3,"), answer == int(MsgAnswer::Yes) && !saveFails);
        QCOMPARE(desk.errors.reports.size(), size_t(saveFails));

        if (answer == int(MsgAnswer::Cancel) || saveFails) {
            QVERIFY(w.isVisible());
            QVERIFY(desk.Checked("optDefault") && !desk.Checked("optHandling"));
            QVERIFY(desk.Checked("optGta3") && !desk.Checked("optVice"));
            QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), gta3);
            QCOMPARE(desk.Find<QPushButton>("cmdRun")->text(), QString("Run GTA III"));
            QCOMPARE(desk.CellText(2, 7), std::string("3"));
                        QVERIFY(desk.launcher.starts.empty());
            // Once the disk takes it again, the same file is saved where it was read.
            desk.files.faults.clear();
            desk.Click("cmdSave");
            QVERIFY(ReadBytes(ide).contains("poorfamily,\t3,"));
            return;
        }
        if (how == "file") {
            QVERIFY(desk.Checked("optHandling"));
            QCOMPARE(desk.CellText(3, 0), std::string("LANDSTAL"));
        } else if (how == "game" || how == "browse") {
            QVERIFY(desk.Checked("optVice"));
            QCOMPARE(desk.Grid()->model().Rows(), 0);
            QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), vice);
        } else {
            QVERIFY(!w.isVisible());
            QCOMPARE(desk.Stored("General/LastUsed"), QString("GTA3"));
        }
        QCOMPARE(desk.launcher.starts.size(), size_t(how == "run"));
        if (how == "run") {
            QCOMPARE(desk.launcher.starts[0].executable, gta3 + QDir::separator() + "gta3.exe");
            QCOMPARE(desk.launcher.starts[0].workingFolder, gta3);
        }
    }

    // A file that cannot be opened leaves its option clear, so that a second click tries again.
    // One that is there but cannot be read leaves no file open at all, and nothing that could save.
    void failedOpen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("reload");  // the file fails on Reload, rather than on a switch to it
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("missing on reload") << "missing" << true;
        QTest::newRow("permission denied") << "denied" << false;
        QTest::newRow("a folder where the file should be") << "folder" << false;
        QTest::newRow("a folder, on reload") << "folder" << true;
    }
    void failedOpen()
    {
        QFETCH(QString, how);
        QFETCH(bool, reload);
        Desk desk;
        const QString cfg = Desk::DataFile(desk.InstallChosen(Game::Gta3), "handling.cfg");
        desk.Start();
        desk.Open(reload ? FileKind::HandlingCfg : FileKind::DefaultIde);
        const int row = reload ? 3 : 1;
        const std::string shown = desk.CellText(row, 1);
        const QByteArray bytes = ReadBytes(cfg);
        if (how == "denied") {
            desk.files.faults.push_back({FaultyFileSystem::Op::Read, FsPath(cfg), EACCES});
        } else {
            QVERIFY(QFile::remove(cfg));
            QVERIFY(how == "missing" || QDir().mkdir(cfg));
        }
        if (reload)
            desk.Click("cmdReload");
        else
            desk.Open(FileKind::HandlingCfg);

        const bool missing = how == "missing";
        QVERIFY(!desk.Checked("optDefault") && !desk.Checked("optHandling"));
        QVERIFY(desk.Enabled("optDefault") && desk.Enabled("optHandling"));
        const std::vector<ShownMessage> messages(desk.messages.shown.begin() + reload, desk.messages.shown.end());
        QCOMPARE(messages.size(), size_t(missing));
        if (missing) {
            QCOMPARE(QString::fromStdString(messages[0].text), "The file " + cfg + " was not found.");
            QCOMPARE(messages[0].icon, MsgIcon::Critical);
        }
        QCOMPARE(desk.errors.reports.size(), size_t(!missing));
        // A missing file leaves the open one in view; one that cannot be read leaves none.
        QCOMPARE(desk.CellText(row, 1), missing ? shown : std::string());
        for (const char* name : {"cmdSave", "cmdReload", "cmdRun", "txtImport", "cmdPaste", "comRestore", "cmdRestore"})
            QVERIFY2(desk.Enabled(name) == missing, name);

        desk.files.faults.clear();
        QVERIFY(how != "folder" || QDir().rmdir(cfg));
        WriteBytes(cfg, QByteArray(bytes).replace("1700.0", "1800.0"));
        desk.Open(FileKind::HandlingCfg);
        QVERIFY(desk.Checked("optHandling"));
        QCOMPARE(desk.CellText(3, 1), std::string("1800.0"));
        QVERIFY(desk.Enabled("cmdSave"));
    }

    // A file just opened starts at its first vehicle's first value, scrolled to its start, with the
    // keys going to the grid, wherever the last one was left.
    void openingStartsAtTheFirstVehicle_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("first open") << "first";
        QTest::newRow("the other file") << "other";
        QTest::newRow("reload") << "reload";
    }
    void openingStartsAtTheFirstVehicle()
    {
        QFETCH(QString, how);
        Desk desk;
        desk.InstallChosen(Game::Gta3);
        desk.Start();
        desk.Open(FileKind::HandlingCfg);
        bool ide = false;
        if (how != "first") {
            desk.Select(59, 31);
            if (how == "other") {
                desk.Open(FileKind::DefaultIde);
                ide = true;
            } else {
                desk.Click("cmdReload");
            }
        }
        const Grid& grid = desk.Grid()->model();
        QCOMPARE(grid.Row(), ide ? 1 : 3);
        QCOMPARE(grid.Col(), ide ? 2 : 1);
        QCOMPARE(desk.Grid()->horizontalScrollBar()->value(), 0);
        QCOMPARE(desk.Grid()->verticalScrollBar()->value(), 0);
        QCOMPARE(QApplication::focusWidget(), desk.Grid());
    }

    // Reload always asks; OK reads the file from the disk again, whatever was changed since.
    void reload_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::newRow("edited, OK") << true << int(MsgAnswer::OK);
        QTest::newRow("edited, Cancel") << true << int(MsgAnswer::Cancel);
        QTest::newRow("unchanged, OK rereads the disk") << false << int(MsgAnswer::OK);
    }
    void reload()
    {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        Desk desk;
        const QString ide = Desk::DataFile(desk.InstallChosen(Game::Gta3), "default.ide");
        desk.Start();
        desk.Open(FileKind::DefaultIde);
        if (edited)
            desk.Edit(1, 2, "z");
        else
            WriteBytes(ide, QByteArray(kSmallIde).replace("landstal, landstal", "landstal, outside"));
        desk.messages.answers.push_back(MsgAnswer(answer));
        desk.Click("cmdReload");
        QCOMPARE(desk.messages.shown.size(), size_t(1));
        QCOMPARE(desk.messages.shown[0].text, std::string("Discard changes and reload default.ide?"));
        QCOMPARE(desk.messages.shown[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(desk.messages.shown[0].icon, MsgIcon::Exclamation);
        const bool reloaded = answer == int(MsgAnswer::OK);
        QCOMPARE(desk.w->File().Modified(), edited && !reloaded);
        QCOMPARE(desk.CellText(1, 2), std::string(!reloaded ? "z" : edited ? "landstal" : "outside"));
    }

    // Save writes the rebuilt line and nothing else new, after keeping the file as it was.
    void saveWritesTheRebuiltLineOnly()
    {
        Desk desk;
        const QString ide = Desk::DataFile(desk.InstallChosen(Game::Gta3), "default.ide");
        desk.Start();
        desk.Open(FileKind::DefaultIde);
        desk.Edit(2, 7, "12");
        desk.Click("cmdSave");
        QVERIFY(!desk.w->File().Modified());
        QCOMPARE(ReadBytes(ide + ".bak"), kSmallIde);
        QCOMPARE(QString::fromStdString(desk.messages.shown.at(0).text),
                 "Backup copy created at: \r\n" + ide + ".bak\r\n\r\nA backup copy will be created only when it does not exists.");
        QByteArray expected = kSmallIde;
        expected.replace("# models", "# Config file written by Revlane v1.1.0 - Last modified on Sunday, 6 December 2026 "
                                     "10:15:30 UTC");
        expected.replace("91, idaho, idaho, car, IDAHO, IDAHO, poorfamily, 10, 7, 0, 163, 0.64",
                         "91,\tidaho,\t\tidaho,\t\tcar,\tIDAHO,\tIDAHO,\tpoorfamily,\t12,\t7,\t0,\t163, 0.64");
        QCOMPARE(ReadBytes(ide), expected);
    }

    // Paste takes the real clipboard's text; the line names its vehicle, Apply and Restore change
    // its row; the restore controls work only with more than two vehicles to choose from.
    void importAndRestore()
    {
        Desk desk;
        desk.InstallChosen(Game::Gta3);
        desk.Start();
        desk.Open(FileKind::HandlingCfg);
        QVERIFY(!desk.Enabled("cmdImport"));
        QGuiApplication::clipboard()->clear();
        desk.Click("cmdPaste");
        QCOMPARE(desk.messages.shown.at(0).text, std::string("Clipboard does not have text at this moment."));
        QCOMPARE(desk.messages.shown.at(0).icon, MsgIcon::Critical);

        auto* vehicle = desk.Find<QLineEdit>("txtImportv");
        QGuiApplication::clipboard()->setText("idaho\t1800.0   3.0");
        desk.Click("cmdPaste");
        QCOMPARE(vehicle->text(), QString());  // a tab is no separator for the lookup
        QGuiApplication::clipboard()->setText("idaho 1800.0\t3.0");
        desk.Click("cmdPaste");
        QCOMPARE(vehicle->text(), QString("IDAHO"));
        QVERIFY(desk.Enabled("cmdImport"));
        desk.Click("cmdImport");
        QCOMPARE(desk.CellText(6, 0), std::string("IDAHO"));
        QCOMPARE(desk.CellText(6, 2), std::string("3.0"));
        QVERIFY(desk.w->File().Modified());

        // LANDSTAL's stock line comes back after the question.
        QCOMPARE(desk.Find<QComboBox>("comRestore")->count(), 3);
        desk.messages.answers.push_back(MsgAnswer::OK);
        desk.Click("cmdRestore");
        QVERIFY(QString::fromStdString(desk.messages.shown.back().text).startsWith("Confirm replacement of line:"));
        QCOMPARE(desk.CellText(3, 31), std::string("1"));
        QCOMPARE(desk.CellText(3, 29), std::string("C00B"));

        // Two vehicles leave nothing to choose between.
        WriteBytes(Desk::DataFile(desk.Find<QLineEdit>("txtPath")->text(), "handling.cfg"), "LANDSTAL 1\r\nIDAHO 2\r\n");
        desk.messages.answers.push_back(MsgAnswer::OK);
        desk.Click("cmdReload");
        QCOMPARE(desk.Find<QComboBox>("comRestore")->count(), 2);
        QVERIFY(!desk.Enabled("comRestore") && !desk.Enabled("cmdRestore"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
