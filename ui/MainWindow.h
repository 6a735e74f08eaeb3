#pragma once

#include <QUndoStack>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "Catalogue.h"
#include "CellMarks.h"
#include "Document.h"
#include "ExpressImport.h"
#include "FieldRules.h"
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

class GridView;
class NumberPort;
class RestoreListModel;
class VehicleTableModel;

// The main window: one window that holds every command of Revlane. Its code lies in one file
// per concern: MainWindow.cpp builds the controls and lays them out; MainWindowStartup.cpp starts
// and ends a run and chooses the game; MainWindowFiles.cpp opens, saves, reloads and closes files;
// MainWindowEditing.cpp makes every change to the open file through the undo stack, with the
// shortcuts; MainWindowValues.cpp finds vehicles and changes many values at once, through the
// clipboard too; MainWindowImport.cpp imports and restores lines. Every control carries its name as
// its object name.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Where the window's messages, error reports, files, clock, settings, folder picker, game
    // start and the numbers it asks for come from; tests put their own in. Start-up reads the settings at once.
    struct Services {
        MessagePort* messages = nullptr;
        InternalErrorPort* errors = nullptr;
        FileSystem* files = nullptr;
        ClockPort* clock = nullptr;
        platform::Settings* settings = nullptr;
        platform::FolderPicker* picker = nullptr;
        platform::GameLauncher* launcher = nullptr;
        NumberPort* numbers = nullptr;
    };

    MainWindow();
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The open file, for a look at what the window holds.
    const Document& File() const { return document; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Declared first: the file model below is built on them.
    std::unique_ptr<MessagePort> ownMessages_;
    std::unique_ptr<InternalErrorPort> ownErrors_;
    std::unique_ptr<ClockPort> ownClock_;
    std::unique_ptr<platform::Settings> ownSettings_;
    std::unique_ptr<platform::FolderPicker> ownPicker_;
    std::unique_ptr<platform::GameLauncher> ownLauncher_;
    std::unique_ptr<NumberPort> ownNumbers_;
    MessagePort& messages_;
    InternalErrorPort& errors_;
    FileSystem& files_;
    platform::Settings& settings_;
    platform::FolderPicker& picker_;
    platform::GameLauncher& launcher_;
    NumberPort& numbers_;

    // The program's version, "major.minor.revision".
    const QString AppVersion;
    // The chosen game and where the installations of both games lie.
    Installation install;
    // The answer to the window's last question.
    MsgAnswer LastAnswer = MsgAnswer::OK;

    Document document;
    DefaultLines defaultLines;
    ExpressImport import;
    RestoreDefaults restore;
    CaptionTable CaptionTable_;
    CellMarks marks;
    // Every change of the open file since it was read, for undo and redo; clean where it was read or saved.
    QUndoStack undo_;
    VehicleTableModel* table_ = nullptr;
    RestoreListModel* restoreList_ = nullptr;

    // Building the controls and the layout pass (MainWindow.cpp).
    void BuildControls();
    void BuildBottomArea();
    void NameControls();
    void SetTabOrder();
    void ConnectControls();
    void LayoutPass();
    int Px(int twips) const;

    // Start-up, shutdown and the game (MainWindowStartup.cpp).
    void Form_Load();
    void ApplyCaptions();
    void InitMain();
    void GameChoice(Game game);
    void cmdBrowse_Click();
    void cmdRun_Click();
    void cmdAbout_Click();
    Game CurrentGame() const { return install.ChosenGame(); }

    // The file commands (MainWindowFiles.cpp).
    void optDefault_Click();
    void optHandling_Click();
    void ChooseFileKind(FileKind kind);
    void OpenDefault();
    void OpenHandling();
    // Opens a view; the import box then shows importText, or is emptied where that is null.
    void OpenView(FileKind kind, QRadioButton* option, const QString& importText = QString());
    // Reads, opens or closes the document with every view of it following.
    void ChangeDocument(const std::function<void()>& change);
    void ShowReadFile(const QString& importText = QString());
    void ShowFirstVehicle();
    void SetFileControlsEnabled(bool enabled, bool restore);
    bool AskToSave(MsgButtons buttons);
    bool SaveOpenFile();
    void cmdSave_Click();
    void cmdReload_Click();
    void CloseFile();
    void SetFileOption(QRadioButton* option, bool checked);
    void ShowOpenKind();

    // Every change through the undo stack, and the shortcuts (MainWindowEditing.cpp).
    void SetUpEditing();
    void ConnectShortcuts();
    // Tells the user something in the line above the grid, in the warning colour where asked; an
    // empty text puts the line's usual help back.
    void ShowStatus(const QString& text, bool warning = true);
    // Ends an edit in the grid; false when its value was refused and the editor stays open.
    bool Commit();
    void CancelEdit();
    // Makes a change of the document one step of the undo stack; false when nothing changed.
    bool Change(const QString& what, std::function<std::vector<LineChange>()> change);

    // Finding a vehicle and changing many values at once (MainWindowValues.cpp).
    void SetUpValues();
    // The find box is made at its first use: most runs never open it.
    void BuildFind();
    bool FindOpen() const;
    void OpenFind();
    void CloseFind();
    void FindNext(bool forward);
    void MarkNotFound(bool notFound);
    void CopyCells();
    void PasteCells();
    void ChangeValues(NumberChange change, const QString& question);
    // Writes one value into every selected cell that takes one.
    void FillCells(const QString& value);
    // Says how many values a change of many took, how many it left, and how many decimal commas
    // it wrote as points.
    void ShowCount(const QString& done, int changed, const QString& left, int unchanged, int commas = 0);
    static QString DecimalCommasText(int count);

    // Express import and restore (MainWindowImport.cpp).
    void txtImport_Change();
    void ClearImport();
    void ShowImportVehicle(const QString& name);
    void cmdPaste_Click();
    void cmdImport_Click();
    void Replace(const QString& what, const ExpressImport::Replacement& replacement);
    void cmdRestore_Click();

    // The controls, under the names the rest of the program knows them by.
    GridView* Grid1 = nullptr;
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
    // Says why a value was refused, in lblProcessed's place while it has something to say.
    QLabel* lblStatus = nullptr;
    // The find box, at the right of that line while it is open; none until it is first opened.
    QWidget* picFind = nullptr;
    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
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

    bool shown_ = false;
    bool captionsApplied_ = false;
    // Run asked about unsaved changes and closes the window: closing asks nothing more.
    bool leaving_ = false;
    // The line above the grid says why the import text cannot be held.
    bool importRefused_ = false;
    // The file kind whose option shows the open file; none after a failed open.
    std::optional<FileKind> chosenKind_;
};

}  // namespace revlane::ui
