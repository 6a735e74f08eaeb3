#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QUndoCommand>

#include <functional>

#include "FlexGrid.h"
#include "frmMain.h"

// Undo and redo of every change to the open file, the marks that follow each change, and the
// shortcuts a desktop user tries first.
namespace revlane::ui {

namespace {

// One change of a vehicle's row: its line and cells before and after, put back byte for byte.
class RowChange : public QUndoCommand {
public:
    using Put = std::function<void(int, const ConfigFile::RowState&)>;
    RowChange(Put put, int row, ConfigFile::RowState before, ConfigFile::RowState after, const QString& what)
        : QUndoCommand(what), put_(std::move(put)), row_(row), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { put_(row_, before_); }
    void redo() override
    {
        // The change was made before it was recorded; only a redo makes it again.
        if (!made_)
            put_(row_, after_);
        made_ = false;
    }

private:
    Put put_;
    int row_;
    ConfigFile::RowState before_, after_;
    bool made_ = true;
};

}  // namespace

void frmMain::ConnectShortcuts()
{
    // Unsaved changes are those the undo stack has since the file was read or saved.
    connect(&undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { file.SetModified(!clean); });
    const auto bind = [this](QKeySequence keys, std::function<void()> action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, std::move(action));
    };
    const auto undo = [this] {
        if (Commit())
            undo_.undo();
    };
    const auto redo = [this] {
        if (Commit())
            undo_.redo();
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), undo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), redo);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), redo);
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

// After a row has changed: the change goes on the undo stack, and the row's marks are worked out again.
void frmMain::RecordChange(int row, const ConfigFile::RowState& before, const QString& what)
{
    if (before.cells.empty())
        return;  // no vehicle's row
    marks.RefreshRow(row);
    Grid1->viewport()->update();
    undo_.push(new RowChange([this](int r, const ConfigFile::RowState& state) { PutRow(r, state); }, row, before,
                             file.RowAt(row), what));
}

void frmMain::PutRow(int row, const ConfigFile::RowState& state)
{
    if (!file.PutRow(row, state))
        return;
    marks.RefreshRow(row);
    Grid1->MoveTo(row, grid.Col());
    Grid1->viewport()->update();
}

}  // namespace revlane::ui
