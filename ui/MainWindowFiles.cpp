#include "MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Comparer.h"
#include "GameCheckView.h"
#include "GridView.h"
#include "ImportBox.h"
#include "RecordTabs.h"
#include "QtPorts.h"
#include "Text.h"

// The file commands: the choice of file kind and its two views, Save, Reload, closing the file,
// and the question asked before unsaved changes are left behind.
namespace revlane::ui {

namespace {

const char* kDefaultHint = "[insert comma separated values and click Apply]";
const char* kHandlingHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

}  // namespace

void MainWindow::ChooseFileKind(FileKind kind)
{
    if (chosenKind_ == kind)
        return;  // already the open file, and shown so
    if (!Commit() || !AskToSave(MsgButtons::YesNoCancel)) {
        // The options keep showing the file that stays open.
        ShowOpenKind();
        return;
    }
    // The import box goes straight to the new kind's hint, without being emptied on the way.
    OpenView(kind, QString::fromLatin1(kind == FileKind::DefaultIde ? kDefaultHint : kHandlingHint));
}

void MainWindow::OpenView(FileKind kind, const QString& importText)
{
    // The column captions and the stock lines are read with the first file: a window that opens
    // none needs not hold them.
    if (!captionsApplied_) {
        ApplyCaptions();
        captionsApplied_ = true;
    }
    const bool opened = document.Open(kind, CurrentGame());
    // What the line above the grid said was of the file before.
    if (lblStatus->isVisible())
        ShowStatus(QString());
    // A file that is not there leaves the open one in view; one that was not read leaves none.
    if (opened || !document.IsOpen())
        ShowReadFile(importText);
    else if (!importText.isNull())
        importBox_->SetImportText(importText);
    if (!opened) {
        // The option stays clear, so that a second click tries again.
        SetFileOption(kind == FileKind::DefaultIde ? optDefault : optHandling, false);
        chosenKind_.reset();
        return;
    }
    chosenKind_ = kind;
    Grid1->ShowStart();
}

// What a read leaves to the window besides the views that hear the document: the import box
// with the text given (empty unless a hint is given) and no vehicle for it yet, the controls that
// work on an open file, nothing to undo, and nothing compared.
void MainWindow::ShowReadFile(const QString& importText)
{
    const bool open = document.IsOpen();
    comparer_->Stop();
    Grid1->setEnabled(open);
    importBox_->ShowReadFile(importText);
    for (QWidget* w : std::initializer_list<QWidget*>{lblProcessed, cmdRun, cmdSave, cmdReload})
        w->setEnabled(open);
    undo_.clear();
    recordTabs_->setVisible(open && document.ViewCount() > 1);
    LayoutPass();
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
    const MsgAnswer answer = services_.messages->ShowMessage(
        "Save changes to " + text::PathText(document.Path()) + "?", buttons, MsgIcon::Question);
    if (answer == MsgAnswer::Cancel)
        return false;
    // A failed save stops what asked for it, as Cancel does: going on would drop the changes.
    if (answer == MsgAnswer::Yes && !SaveOpenFile())
        return false;
    return true;
}

// Saves the open file, unless the game would read it past its limits or another program changed
// it since, and the user keeps theirs; once it is on the disk, undoing back to here leaves nothing
// unsaved.
bool MainWindow::SaveOpenFile()
{
    if (!checkView_->MaySave())
        return false;
    if (document.ChangedOnDisk()
        && services_.messages->ShowMessage("The file " + text::PathText(document.Path())
                                               + " has been changed by another program since Revlane read it. Save your changes over it?",
                                           MsgButtons::YesNo, MsgIcon::Exclamation)
               != MsgAnswer::Yes)
        return false;
    const SaveResult result = document.Save();
    checkView_->Saved();
    if (result.backupMade)
        services_.messages->ShowMessage("Backup copy created at: \r\n" + text::PathText(Document::BackupPathFor(document.Path()))
                                            + "\r\n\r\nA backup copy will be created only when it does not exist.",
                                        MsgButtons::OK, MsgIcon::Information);
    if (result.saved)
        undo_.setClean();
    return result.saved;
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
    if (services_.messages->ShowMessage("Discard changes and reload " + name + "?", MsgButtons::OKCancel,
                                        MsgIcon::Exclamation)
        != MsgAnswer::OK)
        return;
    CancelEdit();  // a value refused above goes with the rest
    OpenView(document.Kind());
}

void MainWindow::CloseFile()
{
    // Whatever is being typed in the cell is dropped with the file.
    CancelEdit();
    document.Close();
    if (lblStatus->isVisible())
        ShowStatus(QString());
    for (QRadioButton* option : {optDefault, optHandling}) {
        option->setEnabled(false);
        SetFileOption(option, false);
    }
    chosenKind_.reset();
    ShowReadFile();
}

}  // namespace revlane::ui
