#pragma once

#include <QWidget>

#include <array>
#include <memory>

#include "Catalogue.h"
#include "ConfigFile.h"
#include "ExpressImport.h"
#include "Grid.h"
#include "Ports.h"
#include "Restore.h"
#include "StockLines.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace revlane::ui {

class FlexGrid;

// The main window: one window that holds every command of Revlane.
class frmMain : public QWidget, private FileViewPort {
    Q_OBJECT

    // Declared first: the file model below is built on them.
    std::unique_ptr<MessagePort> ownMessages_;
    std::unique_ptr<InternalErrorPort> ownErrors_;
    std::unique_ptr<ClockPort> ownClock_;
    MessagePort& messages_;
    InternalErrorPort& errors_;

public:
    // Where the window's messages, error reports, files and clock come from; tests put their own in.
    struct Services {
        MessagePort* messages = nullptr;
        InternalErrorPort* errors = nullptr;
        FileSystem* files = nullptr;
        ClockPort* clock = nullptr;
    };

    frmMain();
    explicit frmMain(Services services, QWidget* parent = nullptr);
    ~frmMain() override;

    // The chosen game and its installation's two files.
    bool ViceMode = false;
    Game CurrentGame() const { return ViceMode ? Game::ViceCity : Game::Gta3; }
    // The answer to the window's last question.
    MsgAnswer LastAnswer = MsgAnswer::OK;

    Grid grid;
    ConfigFile file;
    DefaultLines defaultLines;
    ExpressImport import;
    RestoreDefaults restore;

    // Builds the handling.cfg column catalogue; called once at start-up.
    void ApplyCaptions();

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
    std::array<QFrame*, 6> Linea{};

    // Twips to this window's pixels.
    int Px(int twips) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What reading and closing a file change here besides the grid.
    void ClearRestoreList() override;
    void AddRestoreEntry(const std::string& name) override;
    void SetImportText(const std::string& text) override;
    void ClearImport() override;
    void SetFileControlsEnabled(bool enabled, bool restore) override;

    void BuildControls();
    void ConnectGrid();
    bool AskToSave(MsgButtons buttons);
    void SetFileOption(QRadioButton* option, bool checked);
    void ShowOpenKind();
    void Commit();
    void txtGrid_KeyDown(int key);

    CaptionTable CaptionTable_;
    // The in-place editor is open on the current cell.
    bool editing_ = false;
};

}  // namespace revlane::ui
