#include "MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "GridView.h"
#include "QtPorts.h"
#include "Text.h"
#include "VehicleTableModel.h"

// The file commands: the choice of file kind and its two views, Save, Reload, closing the file,
// and the question asked before unsaved changes are left behind.
namespace revlane::ui {

namespace {

const char* kDefaultHint = "[insert comma separated values and click Apply]";
const char* kHandlingHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

}  // namespace

void MainWindow::optDefault_Click()
{
    ChooseFileKind(FileKind::DefaultIde);
}

void MainWindow::optHandling_Click()
{
    ChooseFileKind(FileKind::HandlingCfg);
}

void MainWindow::ChooseFileKind(FileKind kind)
{
    if (chosenKind_ == kind)
        return;  // already the open file, and shown so
    if (!Commit() || !AskToSave(MsgButtons::YesNoCancel)) {
        // The options keep showing the file that stays open.
        ShowOpenKind();
        return;
    }
    const bool ide = kind == FileKind::DefaultIde;
    // The import box goes straight to the new kind's hint, without being emptied on the way.
    OpenView(kind, ide ? optDefault : optHandling, QString::fromLatin1(ide ? kDefaultHint : kHandlingHint));
}

void MainWindow::OpenDefault()
{
    OpenView(FileKind::DefaultIde, optDefault);
}

void MainWindow::OpenHandling()
{
    OpenView(FileKind::HandlingCfg, optHandling);
}

void MainWindow::OpenView(FileKind kind, QRadioButton* option, const QString& importText)
{
    bool opened = false;
    ChangeDocument([&] { opened = document.Open(kind, CurrentGame()); });
    // A file that is not there leaves the open one in view; one that was not read leaves none.
    if (opened || !document.IsOpen())
        ShowReadFile(importText);
    else if (!importText.isNull())
        txtImport->setText(importText);
    if (!opened) {
        // The option stays clear, so that a second click tries again.
        SetFileOption(option, false);
        chosenKind_.reset();
        return;
    }
    chosenKind_ = kind;
    ShowFirstVehicle();
}

// Every view of the document follows a read, an open or a close: the grid's rows, columns and
// marks, the restore list.
void MainWindow::ChangeDocument(const std::function<void()>& change)
{
    // The column captions and the stock lines are read with the first file: a window that opens
    // none needs not hold them.
    if (!captionsApplied_) {
        ApplyCaptions();
        captionsApplied_ = true;
    }
    Grid1->HoldLayout();
    table_->BeginReset();
    change();
    marks.Reset(CaptionTable_);
    table_->EndReset();
    restoreList_->Reset();
    Grid1->ShowView(document.Geometry());
    Grid1->setEnabled(document.IsOpen());
    // What the line above the grid said was of the file before.
    if (lblStatus->isVisible())
        ShowStatus(QString());
}

// What a read leaves to the window besides the grid: the import box with the text given (empty
// unless a hint is given) and no vehicle for it yet, and the controls that work on an open file.
void MainWindow::ShowReadFile(const QString& importText)
{
    ClearImport();
    // Its change looks the text's vehicle up in the file just read.
    txtImport->setText(importText);
    SetFileControlsEnabled(document.IsOpen(), document.RestoreCount() > 2);
    // A file read afresh starts with nothing to undo.
    undo_.clear();
}

// A file just opened starts at its first vehicle's first value, scrolled to its start, with
// the keys going to the grid.
void MainWindow::ShowFirstVehicle()
{
    if (document.RowCount() > 0) {
        int row = 0;
        while (row < document.RowCount() - 1 && !document.IsVehicleRow(row))
            ++row;
        if (!document.IsVehicleRow(row))
            row = 0;
        Grid1->horizontalScrollBar()->setValue(0);
        Grid1->verticalScrollBar()->setValue(0);
        Grid1->MoveTo(row, Grid1->FixedColumns());
    }
    Grid1->setFocus();
}

void MainWindow::SetFileControlsEnabled(bool enabled, bool restore)
{
    for (QWidget* w : std::initializer_list<QWidget*>{lblProcessed, lblImport, lblRestore, txtImport, lblMisc[0],
                                                      lblMisc[1], lblMisc[2], cmdPaste, cmdRun, cmdSave, cmdReload})
        w->setEnabled(enabled);
    const bool restoreOn = enabled && restore;
    if (restoreOn)
        comRestore->setCurrentIndex(0);
    comRestore->setEnabled(restoreOn);
    cmdRestore->setEnabled(restoreOn);
}

void MainWindow::SetFileOption(QRadioButton* option, bool checked)
{
    // Exclusive options cannot be cleared one by one; lift the rule for the moment.
    option->setAutoExclusive(false);
    option->setChecked(checked);
    option->setAutoExclusive(true);
}

void MainWindow::ShowOpenKind()
{
    const bool open = document.IsOpen();
    SetFileOption(optDefault, open && document.IsIde());
    SetFileOption(optHandling, open && !document.IsIde());
    chosenKind_.reset();
    if (open)
        chosenKind_ = document.Kind();
}

// Asks whether to save the open file's unsaved changes; false when what asked must stop.
bool MainWindow::AskToSave(MsgButtons buttons)
{
    if (!document.Modified())
        return true;
    LastAnswer = messages_.ShowMessage("Save changes to " + text::PathText(document.Path()) + "?", buttons,
                                       MsgIcon::Question);
    if (LastAnswer == MsgAnswer::Cancel)
        return false;
    // A failed save stops what asked for it, as Cancel does: going on would drop the changes.
    if (LastAnswer == MsgAnswer::Yes && !SaveOpenFile())
        return false;
    return true;
}

// Saves the open file; once it is on the disk, undoing back to here leaves nothing unsaved.
bool MainWindow::SaveOpenFile()
{
    const bool saved = document.Save();
    if (saved)
        undo_.setClean();
    return saved;
}

void MainWindow::cmdSave_Click()
{
    if (Commit())
        SaveOpenFile();
}

void MainWindow::cmdReload_Click()
{
    Commit();
    const std::string name = document.IsIde() ? "default.ide" : "handling.cfg";
    LastAnswer = messages_.ShowMessage("Discard changes and reload " + name + "?", MsgButtons::OKCancel,
                                       MsgIcon::Exclamation);
    if (LastAnswer != MsgAnswer::OK)
        return;
    CancelEdit();  // a value refused above goes with the rest
    if (document.IsIde())
        OpenDefault();
    else
        OpenHandling();
}

void MainWindow::CloseFile()
{
    // Whatever is being typed in the cell is dropped with the file.
    CancelEdit();
    ChangeDocument([this] { document.Close(); });
    for (QRadioButton* option : {optDefault, optHandling}) {
        option->setEnabled(false);
        SetFileOption(option, false);
    }
    chosenKind_.reset();
    ShowReadFile();
}

}  // namespace revlane::ui
