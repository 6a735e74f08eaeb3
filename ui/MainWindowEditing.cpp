#include "MainWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "GridView.h"
#include "LinesCommand.h"
#include "Pictures.h"
#include "RecordTabs.h"
#include "VehicleTableModel.h"

// Ending an edit in the grid, undoing and redoing the steps of the undo stack, the line above the
// grid that says what happened, and the shortcuts a desktop user tries first.
namespace revlane::ui {

void MainWindow::SetUpEditing()
{
    connect(table_, &VehicleTableModel::told, this, [this](const QString& text) { ShowStatus(text, false); });
    connect(Grid1->Delegate(), &CellDelegate::refused, this, [this](const QString& why) { ShowStatus(why); });
    // Unsaved changes are those the undo stack has since the file was read or saved.
    connect(&undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { document.SetModified(!clean); });
    // What the line above the grid said was of the step before: each step says its own, if anything.
    connect(&undo_, &QUndoStack::indexChanged, this, [this] {
        if (lblStatus->isVisible())
            ShowStatus(QString());
    });
    const auto bind = [this](QKeySequence keys, std::function<void()> action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, std::move(action));
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { recordTabs_->Step(1); });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { recordTabs_->Step(-1); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { UndoOrRedo(true); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { UndoOrRedo(false); });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { UndoOrRedo(false); });
    // As a click on the button does, and only while it could be clicked.
    bind(QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (cmdSave->isEnabled())
            cmdSave->click();
    });
    bind(QKeySequence(Qt::Key_F5), [this] {
        if (cmdReload->isEnabled())
            cmdReload->click();
    });
    cmdSave->setToolTip(QStringLiteral("Save (Ctrl+S)"));
    cmdReload->setToolTip(QStringLiteral("Reload (F5)"));
}

// The step undone or made again is brought into view, and the line above the grid names it.
void MainWindow::UndoOrRedo(bool undo)
{
    if (!Commit() || !(undo ? undo_.canUndo() : undo_.canRedo()))
        return;
    const int index = undo ? undo_.index() - 1 : undo_.index();
    const auto* step = dynamic_cast<const LinesCommand*>(undo_.command(index));
    // A step of another kind of record is undone where it can be seen.
    if (step && step->View() >= 0 && step->View() != document.CurrentView()) {
        document.ShowView(step->View());
        Grid1->ShowStart();
    }
    if (undo)
        undo_.undo();
    else
        undo_.redo();
    if (!step)
        return;
    if (step->FirstRow() >= 0)
        Grid1->MoveTo(step->FirstRow(), Grid1->currentIndex().column());
    ShowStatus((undo ? QStringLiteral("Undone: ") : QStringLiteral("Redone: ")) + step->text(), false);
}

void MainWindow::ShowStatus(const QString& text, bool warning)
{
    QPalette colours = lblStatus->palette();
    colours.setColor(QPalette::WindowText, warning ? WarningColour() : palette().color(QPalette::WindowText));
    lblStatus->setPalette(colours);
    lblStatus->setText(text);
    lblStatus->setVisible(!text.isEmpty());
    // The find box takes the help's place while it is open.
    lblProcessed->setVisible(text.isEmpty() && !FindOpen());
}

bool MainWindow::Commit()
{
    return Grid1->CommitEdit();
}

void MainWindow::CancelEdit()
{
    Grid1->CancelEdit();
}

}  // namespace revlane::ui
