#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "FlexGrid.h"
#include "ErrorReport.h"
#include "Desk.h"
#include "ModelFakes.h"
#include "Settings.h"
#include "Text.h"
#include "frmMain.h"

using namespace revlane;
using namespace revlane::test;
using revlane::ui::frmMain;

namespace {

// The main window over an installation in a temporary folder, with every question answered by the test.
struct Window {
    QTemporaryDir dir;
    FakeMessages messages;
    FakeErrors errors;
    FixedClock clock;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<frmMain> w;
    QString defaultPath;
    QString handlingPath;

    Window(Game game, const QByteArray& defaultIde, const QByteArray& handlingCfg)
    {
        QDir().mkpath(dir.filePath("data"));
        defaultPath = dir.filePath("data/default.ide");
        handlingPath = dir.filePath("data/handling.cfg");
        WriteBytes(defaultPath, defaultIde);
        WriteBytes(handlingPath, handlingCfg);
        settings = std::make_unique<platform::Settings>(QSettings::IniFormat, dir.filePath("Revlane.conf"));
        w = std::make_unique<frmMain>(frmMain::Services{&messages, &errors, nullptr, &clock, settings.get()});
        // An installation without its executable: the files can be opened, the game not started.
        w->install.ViceMode = game == Game::ViceCity;
        (w->install.ViceMode ? w->install.VicePath : w->install.Gta3Path) = FsPath(dir.path());
        w->InitMain();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("the window did not become active");
    }

    void Open(FileKind kind) { QTest::mouseClick(kind == FileKind::DefaultIde ? w->optDefault : w->optHandling, Qt::LeftButton); }

    QPoint Cell(int row, int col) const
    {
        return w->Grid1->CellRect(row, col).center() - w->Grid1->viewport()->pos();
    }
    void ClickCell(int row, int col) { QTest::mouseClick(w->Grid1->viewport(), Qt::LeftButton, {}, Cell(row, col)); }
    void DoubleClickCell(int row, int col)
    {
        ClickCell(row, col);
        QTest::mouseDClick(w->Grid1->viewport(), Qt::LeftButton, {}, Cell(row, col));
    }
    void Select(int row, int col)
    {
        w->Grid1->setFocus();
        w->Grid1->MoveTo(row, col);
    }
    std::string CellText(int row, int col) const { return w->grid.TextMatrix(row, col); }
    std::string LineOf(int row) const { return w->file.FileLines()[size_t(w->file.LineOfRow(row))]; }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void views_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("ide");
        QTest::addColumn<QString>("cfg");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("fixedCols");
        QTest::addColumn<int>("fixedRows");
        QTest::addColumn<QStringList>("headers");  // "row,col=text"
        QTest::addColumn<QString>("hint");
        const QString ideHint = "[insert comma separated values and click Apply]";
        const QString cfgHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";
        QTest::newRow("gta3 default.ide")
            << FileKind::DefaultIde << Game::Gta3 << "gta3/data/default.ide" << "gta3/data/handling.cfg" << 12 << 62 << 2
            << 1 << QStringList{"0,0=", "0,1=Model name", "0,10=Wheel model", "0,11=Wheel scale", "1,1=landstal"}
            << ideHint;
        QTest::newRow("vc default.ide")
            << FileKind::DefaultIde << Game::ViceCity << "vc/data/default.ide" << "vc/data/handling.cfg" << 13 << 108 << 2
            << 1 << QStringList{"0,0=", "0,4=HandlingId", "0,6=Anims", "0,7=Class", "0,10=Comprules", "0,11=Wheel model", "0,12=Wheel scale", "1,0=130"}
            << ideHint;
        QTest::newRow("gta3 handling.cfg")
            << FileKind::HandlingCfg << Game::Gta3 << "gta3/data/default.ide" << "gta3/data/handling.cfg" << 32 << 60
            << 1 << 3
            << QStringList{"0,0=A", "1,0=vehicle identifier", "2,0=[14 characters max]", "0,10=K", "1,10=fTractionLoss",
                           "2,10=[0.0 > x > 1.0]", "0,26=AA", "2,26=", "1,29=flags", "2,29=", "1,31=rear lights",
                           "2,31=0=long, 1=small, 2=big, 3=tall", "3,31=1"}
            << cfgHint;
        QTest::newRow("vc handling.cfg")
            << FileKind::HandlingCfg << Game::ViceCity << "vc/data/default.ide" << "vc/data/handling.cfg" << 33 << 112
            << 1 << 3
            << QStringList{"0,29=AD", "1,29=suspension anti-dive multiplier", "2,29=", "0,30=AE", "1,30=flags", "2,30=",
                           "1,31=front lights", "0,32=AG", "1,32=rear lights", "2,32=0=long, 1=small, 2=big, 3=tall",
                           "84,0=------ bikes"}
            << cfgHint;
    }
    void views()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QString, ide);
        QFETCH(QString, cfg);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, fixedCols);
        QFETCH(int, fixedRows);
        QFETCH(QStringList, headers);
        QFETCH(QString, hint);
        REVLANE_REQUIRE_FIXTURE(ide, idePath);
        REVLANE_REQUIRE_FIXTURE(cfg, cfgPath);
        Window win(game, ReadBytes(idePath), ReadBytes(cfgPath));
        win.Open(kind);
        const Grid& g = win.w->grid;
        QCOMPARE(g.Cols(), cols);
        QCOMPARE(g.Rows(), rows);
        QCOMPARE(g.FixedCols(), fixedCols);
        QCOMPARE(g.FixedRows(), fixedRows);
        QCOMPARE(g.ColWidth(0), kind == FileKind::DefaultIde ? 500 : 1600);
        QCOMPARE(g.ColWidth(cols - 1), 1200);
        for (const QString& header : headers) {
            const int comma = header.indexOf(','), equals = header.indexOf('=');
            const int row = header.left(comma).toInt(), col = header.mid(comma + 1, equals - comma - 1).toInt();
            QCOMPARE(QString::fromStdString(g.TextMatrix(row, col)), header.mid(equals + 1));
        }
        QCOMPARE(win.w->txtImport->text(), hint);
        QVERIFY(win.w->Grid1->isEnabled());
        QVERIFY(win.w->cmdSave->isEnabled() && win.w->cmdReload->isEnabled() && win.w->lblProcessed->isEnabled());
        QVERIFY(win.w->comRestore->isEnabled() && win.w->comRestore->currentIndex() == 0);
        QVERIFY(g.Row() >= fixedRows && g.Col() >= fixedCols);

        // Column widths on screen follow the twips, and the headers stay while the body scrolls.
        const int px = win.w->Grid1->logicalDpiX() * 1200 / 1440;
        QCOMPARE(win.w->Grid1->CellRect(0, cols - 1).width(), px);
        const QRect headerBefore = win.w->Grid1->CellRect(0, cols - 1);
        const QRect fixedBefore = win.w->Grid1->CellRect(rows - 1, 0);
        win.w->Grid1->MoveTo(rows - 1, cols - 1);
        QVERIFY(win.w->Grid1->verticalScrollBar()->value() > 0);
        QVERIFY(win.w->Grid1->horizontalScrollBar()->value() > 0);
        QCOMPARE(win.w->Grid1->CellRect(0, cols - 1).top(), headerBefore.top());
        QCOMPARE(win.w->Grid1->CellRect(rows - 1, 0).left(), fixedBefore.left());
        QVERIFY(win.w->Grid1->viewport()->rect().translated(win.w->Grid1->viewport()->pos()).contains(
            win.w->Grid1->CellRect(rows - 1, cols - 1).center()));
    }

    void editingGestures_data()
    {
        QTest::addColumn<QString>("open");      // how the editor is opened
        QTest::addColumn<QString>("editor");    // its text when opened
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");     // typed into the editor
        QTest::addColumn<QString>("close");     // how it is closed
        QTest::addColumn<QString>("cell");      // cell (3,1) afterwards
        QTest::addColumn<bool>("modified");
        QTest::newRow("digit replaces") << "7" << "7" << 1 << "" << "enter" << "7" << true;
        QTest::newRow("space keeps") << "space" << "1700.0" << 6 << "5" << "enter" << "1700.05" << true;
        QTest::newRow("backspace keeps") << "backspace" << "1700.0" << 6 << "" << "enter" << "1700.0" << true;
        QTest::newRow("escape on the grid keeps") << "escape" << "1700.0" << 6 << "" << "enter" << "1700.0" << true;
        QTest::newRow("double-click") << "dclick" << "1700.0" << 6 << "1" << "enter" << "1700.01" << true;
        QTest::newRow("escape cancels") << "7" << "7" << 1 << "" << "escape" << "1700.0" << false;
        QTest::newRow("down commits") << "space" << "1700.0" << 6 << "9" << "down" << "1700.09" << true;
        QTest::newRow("click elsewhere commits") << "7" << "7" << 1 << "" << "click" << "7" << true;
        QTest::newRow("another control commits") << "7" << "7" << 1 << "1" << "focus" << "71" << true;
    }
    void editingGestures()
    {
        QFETCH(QString, open);
        QFETCH(QString, editor);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, close);
        QFETCH(QString, cell);
        QFETCH(bool, modified);
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::HandlingCfg);
        const std::string before = win.LineOf(3);
        win.Select(3, 1);
        if (open == "dclick")
            win.DoubleClickCell(3, 1);
        else if (open == "space")
            QTest::keyClick(win.w->Grid1, Qt::Key_Space);
        else if (open == "backspace")
            QTest::keyClick(win.w->Grid1, Qt::Key_Backspace);
        else if (open == "escape")
            QTest::keyClick(win.w->Grid1, Qt::Key_Escape);
        else
            QTest::keyClicks(win.w->Grid1, open);
        QVERIFY(win.w->txtGrid->isVisible());
        QCOMPARE(win.w->txtGrid->text(), editor);
        QCOMPARE(win.w->txtGrid->cursorPosition(), caret);
        QCOMPARE(win.CellText(3, 1), std::string("1700.0"));  // nothing written before the commit
        // The editor lies over the cell.
        const QRect cellRect = win.w->Grid1->CellRect(3, 1).translated(win.w->Grid1->pos());
        QCOMPARE(win.w->txtGrid->geometry().topLeft(), cellRect.topLeft());
        QCOMPARE(win.w->txtGrid->width(), cellRect.width());

        QTest::keyClicks(win.w->txtGrid, typed);
        if (close == "enter")
            QTest::keyClick(win.w->txtGrid, Qt::Key_Return);
        else if (close == "escape")
            QTest::keyClick(win.w->txtGrid, Qt::Key_Escape);
        else if (close == "down")
            QTest::keyClick(win.w->txtGrid, Qt::Key_Down);
        else if (close == "click")
            win.ClickCell(5, 2);
        else
            win.w->txtImport->setFocus();

        QVERIFY(!win.w->txtGrid->isVisible());
        QCOMPARE(QString::fromStdString(win.CellText(3, 1)), cell);
        QCOMPARE(win.w->file.Modified(), modified);
        if (modified)
            QVERIFY(win.LineOf(3).find("LANDSTAL       " + cell.toStdString() + " 2.0 5.0 ") == 0);
        else
            QCOMPARE(win.LineOf(3), before);
        const int row = close == "down" ? 4 : close == "click" ? 5 : 3;
        QCOMPARE(win.w->grid.Row(), row);
        QVERIFY(close != "click" || win.w->grid.Col() == 2);
    }

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
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::HandlingCfg);
        win.Select(row, 1);
        QTest::keyClick(win.w->Grid1, '7');
        win.DoubleClickCell(row, 1);
        QTest::keyClick(win.w->Grid1, Qt::Key_Return);
        QVERIFY(!win.w->txtGrid->isVisible());
        QVERIFY(!win.w->file.Modified());
    }

    void headersAndFixedColumnsNeverBecomeCurrent()
    {
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::DefaultIde);
        win.Select(2, 3);
        win.ClickCell(2, 1);  // model name, a fixed column
        win.ClickCell(0, 4);  // header row
        QCOMPARE(win.w->grid.Row(), 2);
        QCOMPARE(win.w->grid.Col(), 3);
        QTest::keyClick(win.w->Grid1, Qt::Key_Left);
        QTest::keyClick(win.w->Grid1, Qt::Key_Up);
        QTest::keyClick(win.w->Grid1, Qt::Key_Up);
        QCOMPARE(win.w->grid.Row(), 1);
        QCOMPARE(win.w->grid.Col(), 2);
    }

    void arrowsAtTheEdgesCommitAndStay_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("key");
        QTest::newRow("up on the first row") << 1 << int(Qt::Key_Up);
        QTest::newRow("down on the last vehicle") << 3 << int(Qt::Key_Down);
    }
    void arrowsAtTheEdgesCommitAndStay()
    {
        QFETCH(int, row);
        QFETCH(int, key);
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::DefaultIde);
        win.Select(row, 5);
        QTest::keyClick(win.w->Grid1, 'X');
        QTest::keyClick(win.w->txtGrid, Qt::Key(key));
        QCOMPARE(win.CellText(row, 5), std::string("X"));
        QVERIFY(win.w->file.Modified());
        QCOMPARE(win.w->grid.Row(), row == 1 ? 1 : 4);  // down still moves onto the empty row below
        QTest::keyClick(win.w->Grid1, 'Y');
        QVERIFY(row == 1 ? win.w->txtGrid->isVisible() : !win.w->txtGrid->isVisible());
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
        frmMain& w = desk.Start();
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
            QVERIFY(w.file.Modified());
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
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::DefaultIde);
        if (edited) {
            win.Select(1, 2);
            QTest::keyClicks(win.w->Grid1, "z");
            QTest::keyClick(win.w->txtGrid, Qt::Key_Return);
        } else {
            WriteBytes(win.defaultPath, QByteArray(kSmallIde).replace("landstal, landstal", "landstal, outside"));
        }
        win.messages.answers.push_back(MsgAnswer(answer));
        QTest::mouseClick(win.w->cmdReload, Qt::LeftButton);
        QCOMPARE(win.messages.shown.size(), size_t(1));
        QCOMPARE(win.messages.shown[0].text, std::string("Discard changes and reload default.ide?"));
        QCOMPARE(win.messages.shown[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(win.messages.shown[0].icon, MsgIcon::Exclamation);
        const bool reloaded = answer == int(MsgAnswer::OK);
        QCOMPARE(win.w->file.Modified(), edited && !reloaded);
        QCOMPARE(win.CellText(1, 2), std::string(!reloaded ? "z" : edited ? "landstal" : "outside"));
        // After a reload the other file opens without a question.
        win.Open(FileKind::HandlingCfg);
        QCOMPARE(win.messages.shown.size(), size_t(reloaded ? 1 : 3));  // Cancel: the save question, then the backup
    }

    void saveWritesTheRebuiltLineOnly()
    {
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::DefaultIde);
        win.Select(2, 7);
        QTest::keyClick(win.w->Grid1, '1');
        QTest::keyClicks(win.w->txtGrid, "2");
        QTest::keyClick(win.w->txtGrid, Qt::Key_Return);
        QTest::mouseClick(win.w->cmdSave, Qt::LeftButton);
        QVERIFY(!win.w->file.Modified());
        QCOMPARE(ReadBytes(win.defaultPath + ".bak"), kSmallIde);
        QByteArray expected = kSmallIde;
        expected.replace("# models", "# Config file written by Revlane v1.1.0 - Last modified on Sunday, 6 December 2026 "
                                     "10:15:30 UTC");
        expected.replace("91, idaho, idaho, car, IDAHO, IDAHO, poorfamily, 10, 7, 0, 163, 0.64",
                         "91,\tidaho,\t\tidaho,\t\tcar,\tIDAHO,\tIDAHO,\tpoorfamily,\t12,\t7,\t0,\t163, 0.64");
        QCOMPARE(ReadBytes(win.defaultPath), expected);
    }

    // Paste takes the real clipboard's text; the line names its vehicle, Apply and Restore change its row.
    void importAndRestore()
    {
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::HandlingCfg);
        QVERIFY(!win.w->cmdImport->isEnabled());
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(win.w->cmdPaste, Qt::LeftButton);
        QCOMPARE(win.messages.shown.at(0).text, std::string("Clipboard does not have text at this moment."));
        QCOMPARE(win.messages.shown.at(0).icon, MsgIcon::Critical);

        QGuiApplication::clipboard()->setText("idaho\t1800.0   3.0");
        QTest::mouseClick(win.w->cmdPaste, Qt::LeftButton);
        QCOMPARE(win.w->txtImportv->text(), QString());  // a tab is no separator for the lookup
        QGuiApplication::clipboard()->setText("idaho 1800.0\t3.0");
        QTest::mouseClick(win.w->cmdPaste, Qt::LeftButton);
        QCOMPARE(win.w->txtImportv->text(), QString("IDAHO"));
        QVERIFY(win.w->cmdImport->isEnabled());
        QTest::mouseClick(win.w->cmdImport, Qt::LeftButton);
        QCOMPARE(win.CellText(6, 0), std::string("IDAHO"));
        QCOMPARE(win.CellText(6, 2), std::string("3.0"));
        QVERIFY(win.w->file.Modified());

        // LANDSTAL's stock line comes back after the question.
        win.w->comRestore->setCurrentIndex(0);
        win.messages.answers.push_back(MsgAnswer::OK);
        QTest::mouseClick(win.w->cmdRestore, Qt::LeftButton);
        QVERIFY(QString::fromStdString(win.messages.shown.back().text).startsWith("Confirm replacement of line:"));
        QCOMPARE(win.CellText(3, 31), std::string("1"));
        QCOMPARE(win.CellText(3, 29), std::string("C00B"));
    }

    void closeFileEmptiesTheView()
    {
        Window win(Game::Gta3, kSmallIde, kSmallCfg);
        win.Open(FileKind::DefaultIde);
        win.Select(1, 3);
        QTest::keyClick(win.w->Grid1, 'q');
        win.w->CloseFile();
        QVERIFY(!win.w->txtGrid->isVisible());
        QCOMPARE(win.w->grid.Rows(), 0);
        QCOMPARE(win.w->grid.Cols(), 0);
        QVERIFY(!win.w->Grid1->isEnabled());
        QCOMPARE(win.w->comRestore->count(), 0);
        QVERIFY(win.w->txtImport->text().isEmpty());
        QVERIFY(!win.w->optDefault->isChecked() && !win.w->optDefault->isEnabled());
        QVERIFY(!win.w->cmdSave->isEnabled() && !win.w->cmdRun->isEnabled() && !win.w->comRestore->isEnabled());
        QVERIFY(!win.w->file.Modified());
        QCOMPARE(ReadBytes(win.defaultPath), kSmallIde);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
