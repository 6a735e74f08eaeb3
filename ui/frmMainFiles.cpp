#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringListModel>

#include "FlexGrid.h"
#include "QtPorts.h"
#include "Text.h"
#include "frmMain.h"

// The file commands: the choice of file kind and its two views, Save, Reload, closing the file,
// and the question asked before unsaved changes are left behind.
namespace revlane::ui {

namespace {

const char* kDefaultHint = "[insert comma separated values and click Apply]";
const char* kHandlingHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

}  // namespace

void frmMain::optDefault_Click()
{
    ChooseFileKind(FileKind::DefaultIde);
}

void frmMain::optHandling_Click()
{
    ChooseFileKind(FileKind::HandlingCfg);
}

void frmMain::ChooseFileKind(FileKind kind)
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

void frmMain::OpenDefault()
{
    OpenView(FileKind::DefaultIde, optDefault);
}

void frmMain::OpenHandling()
{
    OpenView(FileKind::HandlingCfg, optHandling);
}

void frmMain::OpenView(FileKind kind, QRadioButton* option, const QString& importText)
{
    const bool opened = file.OpenView(kind, CurrentGame(), CaptionTable_);
    // A file that is not there leaves the open one in view; one that was not read leaves none.
    if (opened || !file.IsOpen())
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

// What a read leaves to the window besides the grid: the restore list, the import box with the
// text given (empty unless a hint is given) and no vehicle for it yet, and the controls that work
// on an open file.
void frmMain::ShowReadFile(const QString& importText)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(file.RestoreEntries().size()));
    for (const std::string& name : file.RestoreEntries())
        names << FromBytes(name);
    static_cast<QStringListModel*>(comRestore->model())->setStringList(names);
    ClearImport();
    // Its change looks the text's vehicle up in the file just read.
    txtImport->setText(importText);
    SetFileControlsEnabled(file.IsOpen(), names.size() > 2);
    // A file read afresh starts with nothing to undo, and its marks worked out once.
    undo_.clear();
    marks.Reset(CurrentGame(), CaptionTable_);
}

// A file just opened starts at its first vehicle's first value, scrolled to its start, with
// the keys going to the grid.
void frmMain::ShowFirstVehicle()
{
    if (grid.Rows() > grid.FixedRows() && grid.Cols() > grid.FixedCols()) {
        int row = file.FirstDataRow();
        while (row < grid.Rows() - 1 && !file.IsVehicleRow(row))
            ++row;
        if (!file.IsVehicleRow(row))
            row = file.FirstDataRow();
        grid.SetRow(row);
        grid.SetCol(grid.FixedCols());
        Grid1->horizontalScrollBar()->setValue(0);
        Grid1->verticalScrollBar()->setValue(0);
        Grid1->EnsureVisible(row, grid.FixedCols());
    }
    Grid1->setFocus();
}

void frmMain::SetFileControlsEnabled(bool enabled, bool restore)
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

void frmMain::SetFileOption(QRadioButton* option, bool checked)
{
    // Exclusive options cannot be cleared one by one; lift the rule for the moment.
    option->setAutoExclusive(false);
    option->setChecked(checked);
    option->setAutoExclusive(true);
}

void frmMain::ShowOpenKind()
{
    const bool open = file.IsOpen();
    SetFileOption(optDefault, open && file.DefaultMode);
    SetFileOption(optHandling, open && !file.DefaultMode);
    chosenKind_.reset();
    if (open)
        chosenKind_ = file.DefaultMode ? FileKind::DefaultIde : FileKind::HandlingCfg;
}

// Asks whether to save the open file's unsaved changes; false when what asked must stop.
bool frmMain::AskToSave(MsgButtons buttons)
{
    if (!file.Modified())
        return true;
    LastAnswer = messages_.ShowMessage("Save changes to " + text::PathText(file.OpenPath()) + "?", buttons,
                                       MsgIcon::Question);
    if (LastAnswer == MsgAnswer::Cancel)
        return false;
    // A failed save stops what asked for it, as Cancel does: going on would drop the changes.
    if (LastAnswer == MsgAnswer::Yes && !SaveOpenFile())
        return false;
    return true;
}

// Saves the open file; once it is on the disk, undoing back to here leaves nothing unsaved.
bool frmMain::SaveOpenFile()
{
    const bool saved = file.SaveFile();
    if (saved)
        undo_.setClean();
    return saved;
}

void frmMain::cmdSave_Click()
{
    if (Commit())
        SaveOpenFile();
}

void frmMain::cmdReload_Click()
{
    Commit();
    const std::string name = file.DefaultMode ? "default.ide" : "handling.cfg";
    LastAnswer = messages_.ShowMessage("Discard changes and reload " + name + "?", MsgButtons::OKCancel,
                                       MsgIcon::Exclamation);
    if (LastAnswer != MsgAnswer::OK)
        return;
    CancelEdit();  // a value refused above goes with the rest
    if (file.DefaultMode)
        OpenDefault();
    else
        OpenHandling();
}

void frmMain::CloseFile()
{
    // Whatever is being typed in the cell is dropped with the file.
    CancelEdit();
    file.CloseFile();
    for (QRadioButton* option : {optDefault, optHandling}) {
        option->setEnabled(false);
        SetFileOption(option, false);
    }
    chosenKind_.reset();
    ShowReadFile();
}

}  // namespace revlane::ui
