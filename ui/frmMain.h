#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "Catalogue.h"
#include "ConfigFile.h"
#include "ExpressImport.h"
#include "Grid.h"
#include "Installation.h"
#include "Ports.h"
#include "Restore.h"
#include "StockLines.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace revlane::platform {
class FolderPicker;
class GameLauncher;
class Settings;
}  // namespace revlane::platform

namespace revlane::ui {

class FlexGrid;

// The main window: one window that holds every command of Revlane.
class frmMain : public QWidget, private FileViewPort {
    Q_OBJECT

    // Declared first: the file model below is built on them.
    std::unique_ptr<MessagePort> ownMessages_;
    std::unique_ptr<InternalErrorPort> ownErrors_;
    std::unique_ptr<ClockPort> ownClock_;
    std::unique_ptr<platform::Settings> ownSettings_;
    std::unique_ptr<platform::FolderPicker> ownPicker_;
    std::unique_ptr<platform::GameLauncher> ownLauncher_;
    std::unique_ptr<FileSystem> ownFiles_;
    MessagePort& messages_;
    InternalErrorPort& errors_;
    FileSystem& files_;
    platform::Settings& settings_;
    platform::FolderPicker& picker_;
    platform::GameLauncher& launcher_;

public:
    // Where the window's messages, error reports, files, clock, settings, folder picker and game
    // start come from; tests put their own in. Start-up reads the settings at once.
    struct Services {
        MessagePort* messages = nullptr;
        InternalErrorPort* errors = nullptr;
        FileSystem* files = nullptr;
        ClockPort* clock = nullptr;
        platform::Settings* settings = nullptr;
        platform::FolderPicker* picker = nullptr;
        platform::GameLauncher* launcher = nullptr;
    };

    frmMain();
    explicit frmMain(Services services, QWidget* parent = nullptr);
    ~frmMain() override;

    // The program's version, "major.minor.revision", and the folder of its executable.
    const QString AppVersion;
    const QString AppFolder;

    // The chosen game and where the installations of both games lie.
    Installation install;
    Game CurrentGame() const { return install.ChosenGame(); }
    // The answer to the window's last question.
    MsgAnswer LastAnswer = MsgAnswer::OK;

    Grid grid;
    ConfigFile file;
    DefaultLines defaultLines;
    ExpressImport import;
    RestoreDefaults restore;

    // Builds the handling.cfg column catalogue and loads the stock lines; called once at start-up.
    void ApplyCaptions();

    // Start-up: the caption, the remembered window state, installations and game.
    void Form_Load();
    // Sets the window up for the chosen game's installation.
    void InitMain();
    // The user, or start-up, chose a game.
    void GameChoice(Game game);
    void cmdBrowse_Click();
    void cmdRun_Click();
    void cmdAbout_Click();
    // Fits the grid and the bottom area to the window's size.
    void LayoutPass();

    void OpenDefault();
    void OpenHandling();
    void optDefault_Click();
    void optHandling_Click();
    void cmdSave_Click();
    void cmdReload_Click();
    void CloseFile();
    void txtImport_Change();
    void cmdPaste_Click();
    void cmdImport_Click();
    void cmdRestore_Click();

    // Opens the cell editor on the current cell; key is the character that opened it.
    void GridEdit(int key);

    // The controls, under the names the rest of the program knows them by.
    FlexGrid* Grid1 = nullptr;
    QLineEdit* txtGrid = nullptr;
    QLabel* lblMode = nullptr;
    QLabel* Image1 = nullptr;
    QRadioButton* optDefault = nullptr;
    QRadioButton* optHandling = nullptr;
    QLabel* lblInstallpath = nullptr;
    QWidget* Picture1 = nullptr;
    QRadioButton* optGta3 = nullptr;
    QRadioButton* optVice = nullptr;
    QLabel* imgGame = nullptr;
    QLabel* lblPath = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* lblProcessed = nullptr;
    QWidget* picBottom = nullptr;
    QLabel* lblImport = nullptr;
    std::array<QLabel*, 3> lblMisc{};
    QLineEdit* txtImport = nullptr;
    QPushButton* cmdPaste = nullptr;
    QLineEdit* txtImportv = nullptr;
    QPushButton* cmdImport = nullptr;
    QLabel* lblRestore = nullptr;
    QComboBox* comRestore = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdReload = nullptr;
    QPushButton* cmdExit = nullptr;
    // Separator lines in the shadow colour.
    std::array<QWidget*, 6> Linea{};

    // Twips to this window's pixels.
    int Px(int twips) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // What reading and closing a file change here besides the grid.
    void ClearRestoreList() override;
    void AddRestoreEntry(const std::string& name) override;
    void SetImportText(const std::string& text) override;
    void ClearImport() override;
    void SetFileControlsEnabled(bool enabled, bool restore) override;

    void BuildControls();
    void NameControls();
    void SetTabOrder();
    void ConnectGrid();
    void ChooseFileKind(FileKind kind);
    // Asks to save unsaved changes of the open file; false when the user cancels.
    bool AskToSave(MsgButtons buttons);
    void SetFileOption(QRadioButton* option, bool checked);
    void ShowOpenKind();
    void OpenView(FileKind kind, QRadioButton* option);
    void ShowFirstVehicle();
    void Commit();
    void txtGrid_KeyDown(int key);

    CaptionTable CaptionTable_;
    // The in-place editor is open on the current cell.
    bool editing_ = false;
    bool shown_ = false;
    // Run asked about unsaved changes and closes the window: closing asks nothing more.
    bool leaving_ = false;
    // The file kind whose option shows the open file; none after a failed open.
    std::optional<FileKind> chosenKind_;
};

}  // namespace revlane::ui
