#include "MainWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "ErrorReport.h"
#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GamePictures.h"
#include "QtPorts.h"
#include "Settings.h"
#include "AboutDialog.h"

// Start-up and shutdown with the remembered settings, the choice of game and installation, Run.
namespace revlane::ui {

void MainWindow::Form_Load()
{
    ContinueOnError run("frmMain Load", *services_.errors);
    setWindowTitle(QStringLiteral("Revlane " REVLANE_VERSION));
    run.Step([&] {
        switch (ParseWindowState(services_.settings->Read(platform::setting::WindowState).toStdString())) {
        case WindowState::Normal: break;
        case WindowState::Minimized: setWindowState(Qt::WindowMinimized); break;
        case WindowState::Maximized: setWindowState(Qt::WindowMaximized); break;
        }
    });
    run.Step([&] {
        install.Gta3Path = FsPathOf(services_.settings->Read(platform::setting::Gta3Path));
        install.Gta3Exe = FsPathOf(services_.settings->Read(platform::setting::Gta3Exe));
        install.VicePath = FsPathOf(services_.settings->Read(platform::setting::VicePath));
        install.ViceExe = FsPathOf(services_.settings->Read(platform::setting::ViceExe));
    });
    run.Step([&] {
        // Selecting the option runs the game choice.
        if (const auto game = ParseLastUsed(services_.settings->Read(platform::setting::LastUsed).toStdString()))
            (*game == Game::ViceCity ? optVice : optGta3)->setChecked(true);
    });
    run.Finish();
}

void MainWindow::ApplyCaptions()
{
    CaptionTable_.Fill();
    defaultLines.Load();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Leaving asks about unsaved changes as every other way of leaving the file does (Run has
    // asked already); Cancel, or a save that failed, keeps the window and the changes.
    if (!Commit() || (!leaving_ && !AskToSave(MsgButtons::YesNoCancel))) {
        event->ignore();
        return;
    }
    services_.settings->Write(platform::setting::LastUsed, QString::fromStdString(LastUsedText(install.ViceMode)));
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    services_.settings->Write(platform::setting::WindowState, QString::fromStdString(WindowStateText(state)));
    event->accept();
}

void MainWindow::GameChoice(Game game)
{
    // No Cancel: the game changes whatever the answer, unless the save asked for failed (or the
    // value being typed was refused). Then the game that was chosen stays, with its open file and changes.
    if (!Commit() || !AskToSave(MsgButtons::YesNo)) {
        const Game previous = game == Game::ViceCity ? Game::Gta3 : Game::ViceCity;
        install.ViceMode = previous == Game::ViceCity;
        const QSignalBlocker gta3(optGta3);
        const QSignalBlocker vice(optVice);
        (install.ViceMode ? optVice : optGta3)->setChecked(true);
        return;
    }
    install.ViceMode = game == Game::ViceCity;
    CloseFile();
    if (install.ChosenGameInstalled(*services_.files)) {
        InitMain();
        return;
    }
    // A game without an installation: its picture only, and no file can be opened (closing the
    // file has turned the file options off).
    imgGame->setPixmap(GamePicture(game, devicePixelRatioF()));
    txtPath->clear();
}

void MainWindow::InitMain()
{
    ContinueOnError run("InitMain", *services_.errors);
    run.Step([&] {
        const bool vice = install.ViceMode;
        // Selecting another game than the selected one runs its game choice first; where that
        // choice was refused, the installation of the game still chosen stays set up.
        (vice ? optVice : optGta3)->setChecked(true);
        if (install.ViceMode != vice)
            return;
        txtPath->setText(PathQString(install.ChosenFolder()));
        imgGame->setPixmap(GamePicture(vice ? Game::ViceCity : Game::Gta3, devicePixelRatioF()));
        install.SetUpFiles();
        cmdRun->setText(vice ? QStringLiteral("Run Vice City") : QStringLiteral("Run GTA III"));
    });
    for (QWidget* w : std::initializer_list<QWidget*>{optGta3, optVice, lblMode, optHandling, optDefault})
        w->setEnabled(true);
    run.FinishShort();
}

void MainWindow::cmdBrowse_Click()
{
    if (!Commit())
        return;
    ContinueOnError run("cmdBrowse", *services_.errors);
    std::optional<QString> picked;
    run.Step([&] { picked = services_.picker->PickFolder(this); });
    if (!picked) {
        run.Finish();
        return;
    }
    // The folder as the system writes it, so that the files joined to it read alike.
    const QString folder = QDir::toNativeSeparators(*picked);
    std::optional<FoundInstallation> found;
    run.Step([&] { found = install.Browse(FsPathOf(folder), *services_.files, *services_.messages); });
    if (!found) {
        if (!run.Failed())
            return;  // the user was told the folder holds no game
        run.Finish();
        return;
    }
    run.Step([&] {
        const bool vice = found->game == Game::ViceCity;
        services_.settings->Write(vice ? platform::setting::VicePath : platform::setting::Gta3Path, folder);
        services_.settings->Write(vice ? platform::setting::ViceExe : platform::setting::Gta3Exe, PathQString(found->exe));
    });
    run.Step([&] { InitMain(); });
    run.Finish();
}

void MainWindow::cmdRun_Click()
{
    if (!Commit() || !AskToSave(MsgButtons::YesNoCancel))
        return;
    leaving_ = true;
    // Whether the game comes up or not, Revlane makes way for it.
    services_.launcher->Launch(PathQString(install.ChosenExe()), PathQString(install.ChosenFolder()));
    close();
}

void MainWindow::cmdAbout_Click()
{
    AboutDialog about(this);
    about.exec();
}

}  // namespace revlane::ui
