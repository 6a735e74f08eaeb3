#include "MainWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QUndoCommand>

#include "GridView.h"
#include "LineSplit.h"
#include "Pictures.h"
#include "QtPorts.h"
#include "VehicleTableModel.h"

// Every change of the open file goes through the undo stack as one command on the document: an
// edit in the grid, an express import, a restore. The shortcuts a desktop user tries first.
namespace revlane::ui {

namespace {

// One step of the undo stack. Pushed, it makes its change through the document for the first
// time; undone and redone, it puts the lines back byte for byte. A change that changed nothing
// leaves no step behind.
class DocumentChange : public QUndoCommand {
public:
    using Make = std::function<std::vector<LineChange>()>;
    using Show = std::function<void(int row)>;
    DocumentChange(Document& document, VehicleTableModel& table, Show show, const QString& what, Make make)
        : QUndoCommand(what), document_(document), table_(table), show_(std::move(show)), make_(std::move(make))
    {
    }
    void redo() override
    {
        if (make_) {
            changes_ = make_();
            make_ = nullptr;
            if (changes_.empty())
                setObsolete(true);
        } else {
            for (const LineChange& change : changes_)
                document_.Redo(change);
            Shown();
        }
        table_.RowsChanged(Rows());
    }
    void undo() override
    {
        for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
            document_.Undo(*change);
        table_.RowsChanged(Rows());
        Shown();
    }

private:
    std::vector<int> Rows() const
    {
        std::vector<int> rows;
        for (const LineChange& change : changes_)
            rows.push_back(change.row);
        return rows;
    }
    // The change undone or made again is brought into view.
    void Shown() const
    {
        if (!changes_.empty())
            show_(changes_.front().row);
    }

    Document& document_;
    VehicleTableModel& table_;
    Show show_;
    Make make_;
    std::vector<LineChange> changes_;
};

}  // namespace

void MainWindow::SetUpEditing()
{
    // A value typed in the grid becomes one step of the undo stack.
    table_->SetEditSink([this](int row, int col, const std::string& value) {
        const int commas = document.DecimalCommas({{row, col, value}});
        const bool changed = Change(QStringLiteral("Edit"), [this, row, col, value] {
            std::vector<LineChange> changes;
            if (std::optional<LineChange> change = document.EditCell(row, col, value))
                changes.push_back(std::move(*change));
            return changes;
        });
        if (commas > 0)
            ShowStatus(DecimalCommasText(commas) + '.', false);
        return changed;
    });
    Grid1->Delegate()->SetCheck([this](const QModelIndex& index, const QString& value) {
        QString why = NotLatin1(value, document.IsIde());
        if (why.isEmpty())
            why = FromBytes(document.Refusal({{index.row(), index.column(), ToBytes(value)}}));
        return why.isEmpty() ? QString() : why + QStringLiteral(" Put it right, or press Escape.");
    });
    connect(Grid1->Delegate(), &CellDelegate::refused, this, [this](const QString& why) { ShowStatus(why); });
    ConnectShortcuts();
}

bool MainWindow::Change(const QString& what, std::function<std::vector<LineChange>()> change)
{
    const int steps = undo_.count();
    const auto show = [this](int row) { Grid1->MoveTo(row, Grid1->currentIndex().column()); };
    undo_.push(new DocumentChange(document, *table_, show, what, std::move(change)));
    return undo_.count() > steps;
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

void MainWindow::ConnectShortcuts()
{
    // Unsaved changes are those the undo stack has since the file was read or saved.
    connect(&undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { document.SetModified(!clean); });
    const auto bind = [this](QKeySequence keys, std::function<void()> action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, std::move(action));
    };
    // What the line above the grid said of the last change is over once it is undone or made again.
    const auto undo = [this] {
        if (Commit()) {
            undo_.undo();
            ShowStatus(QString());
        }
    };
    const auto redo = [this] {
        if (Commit()) {
            undo_.redo();
            ShowStatus(QString());
        }
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

}  // namespace revlane::ui
