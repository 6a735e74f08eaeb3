#pragma once

#include <QUndoStack>
#include <QWidget>

#include <memory>
#include <optional>

#include "Catalogue.h"
#include "CellMarks.h"
#include "CellRanges.h"
#include "Document.h"
#include "ExpressImport.h"
#include "FileSystem.h"
#include "GameCheck.h"
#include "Installation.h"
#include "Ports.h"
#include "Restore.h"
#include "ServiceSet.h"
#include "StockLines.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace revlane::ui {

class Comparer;
class FindBar;
class GameCheckView;
class GridView;
class ImportBox;
class RecordTabs;
class VehicleTableModel;

// The main window: one window that holds every command of Revlane. It wires the controls to the
// document, whose views (the grid's table model, the marks, the restore list) hear it themselves,
// and to the undo stack, which holds every change as one step. Its code lies in one file per
// concern: MainWindow.cpp builds the controls and lays them out; MainWindowStartup.cpp starts and
// ends a run and chooses the game; MainWindowFiles.cpp opens, saves, reloads and closes files;
// MainWindowEditing.cpp ends edits, undoes and redoes and says what happened; MainWindowValues.cpp
// finds vehicles and hands work on many cells to the model; MainWindowCompare.cpp sets up the
// comparison with another file. Every control carries its name as its object name.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Where the window's services come from; those not given are made.
    using Services = ServiceSet::Given;

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
    // Declared first: the document is built on them.
    ServiceSet serviceSet_;
    const Services& services_;

    // The chosen game and where the installations of both games lie.
    Installation install;
    Document document;
    DefaultLines defaultLines;
    CaptionTable CaptionTable_;
    // Listens to the document before the grid's table model, which shows them.
    CellMarks marks;
    // What the game would trip on; before the grid's table model too.
    GameCheck check_;
    ExpressImport import;
    RestoreDefaults restore;
    // Every change of the open file since it was read, for undo and redo; clean where it was read or saved.
    QUndoStack undo_;
    VehicleTableModel* table_ = nullptr;

    // Building the controls and the layout pass (MainWindow.cpp).
    void BuildControls();
    void BuildBottomArea();
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
    void ChooseFileKind(FileKind kind);
    // Opens a view; the import box then shows importText, or is emptied where that is null.
    void OpenView(FileKind kind, const QString& importText = QString());
    // What a read or a close leaves to the window besides the views that hear the document.
    void ShowReadFile(const QString& importText = QString());
    bool AskToSave(MsgButtons buttons);
    bool SaveOpenFile();
    void cmdSave_Click();
    void cmdReload_Click();
    void CloseFile();
    void SetFileOption(QRadioButton* option, bool checked);
    void ShowOpenKind();

    // Ending edits, undo and redo, and the line above the grid (MainWindowEditing.cpp).
    void SetUpEditing();
    // Tells the user something in the line above the grid, in the warning colour where asked; an
    // empty text puts the line's usual help back.
    void ShowStatus(const QString& text, bool warning = true);
    // Ends an edit in the grid; false when its value was refused and the editor stays open.
    bool Commit();
    void CancelEdit();
    void UndoOrRedo(bool undo);

    // Finding a vehicle and work on many cells at once (MainWindowValues.cpp).
    void SetUpValues();
    bool FindOpen() const;
    void OpenFind();
    void FindNext(bool forward);
    CellRange Selection() const;
    void CopyCells();
    void PasteCells();
    void ChangeValues(NumberChange change, const QString& question);
    // Writes one value into every selected cell that takes one.
    void FillCells(const QString& value);
    // Says how many values a change of many took, how many it left, and how many decimal commas
    // it wrote as points.
    void ShowCount(const QString& done, int values, const RangeWork& work, const QString& left);

    // The comparison with another file (MainWindowCompare.cpp).
    void SetUpComparing();

    // The controls, under the names the rest of the program knows them by.
    GridView* Grid1 = nullptr;
    // Over the grid, where the file holds more than one kind of record.
    RecordTabs* recordTabs_ = nullptr;
    QLabel* lblMode = nullptr;
    QRadioButton* optDefault = nullptr;
    QRadioButton* optHandling = nullptr;
    QRadioButton* optGta3 = nullptr;
    QRadioButton* optVice = nullptr;
    QLabel* imgGame = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* lblProcessed = nullptr;
    // Says what a change did, or why a value was refused, in lblProcessed's place while it has something to say.
    QLabel* lblStatus = nullptr;
    // The line above the grid, as long as the grid is wide.
    QWidget* gridLine_ = nullptr;
    // The find box, at the right of that line while it is open; none until it is first opened.
    FindBar* findBar_ = nullptr;
    // The grid's commands of a comparison with another file.
    Comparer* comparer_ = nullptr;
    QWidget* picBottom = nullptr;
    ImportBox* importBox_ = nullptr;
    GameCheckView* checkView_ = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdReload = nullptr;

    bool shown_ = false;
    bool captionsApplied_ = false;
    // Run asked about unsaved changes and closes the window: closing asks nothing more.
    bool leaving_ = false;
    // The file kind whose option shows the open file; none after a failed open.
    std::optional<FileKind> chosenKind_;
};

}  // namespace revlane::ui
