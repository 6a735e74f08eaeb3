#include "MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QShortcut>

#include "ControlMaker.h"
#include "FindBar.h"
#include "GridView.h"
#include "QtPorts.h"
#include "RangeCommand.h"
#include "VehicleTableModel.h"

// A modder's work on many values at once: finding a vehicle by its name, copying a range of cells
// to a spreadsheet and pasting one back, setting, adding to or multiplying every selected value,
// and one value written into them all. The model works out each change; the window collects the
// selection, asks for the number, pushes the change as one step and shows what it did.
namespace revlane::ui {

void MainWindow::SetUpValues()
{
    const auto command = [this](const char* name, const char* text, const QKeySequence& keys, std::function<void()> run) {
        auto* action = new QAction(QString::fromLatin1(text), Grid1);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        // The keys work in the grid; in the cell editor they copy and paste its own text.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, std::move(run));
        Grid1->addAction(action);
    };
    command("mnuCopy", "&Copy", QKeySequence::Copy, [this] { CopyCells(); });
    command("mnuPaste", "&Paste", QKeySequence::Paste, [this] { PasteCells(); });
    auto* separator = new QAction(Grid1);
    separator->setSeparator(true);
    Grid1->addAction(separator);
    command("mnuSetValues", "&Set selected values to...", {},
            [this] { ChangeValues(NumberChange::Set, QStringLiteral("Set the selected values to:")); });
    command("mnuAddValues", "&Add to selected values...", {},
            [this] { ChangeValues(NumberChange::Add, QStringLiteral("Add to the selected values:")); });
    command("mnuMultiplyValues", "&Multiply selected values by...", {},
            [this] { ChangeValues(NumberChange::Multiply, QStringLiteral("Multiply the selected values by:")); });
    connect(Grid1->Delegate(), &CellDelegate::fillRequested, this, &MainWindow::FillCells);

    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this, [this] { OpenFind(); });
    new QShortcut(QKeySequence(Qt::Key_F3), this, [this] { FindNext(true); });
    new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this, [this] { FindNext(false); });
}

bool MainWindow::FindOpen() const
{
    return findBar_ && findBar_->isVisible();
}

void MainWindow::OpenFind()
{
    if (!document.IsOpen() || !Commit())
        return;
    // Made at its first use: most runs never open it.
    if (!findBar_) {
        findBar_ = new FindBar(ControlMaker{this}, document, Grid1, this);
        connect(findBar_, &FindBar::openChanged, this, [this] {
            ShowStatus(lblStatus->text());
            LayoutPass();
        });
    }
    findBar_->Open();
}

void MainWindow::FindNext(bool forward)
{
    if (!document.IsOpen() || !Commit())
        return;
    if (!FindOpen() || findBar_->Text().isEmpty())
        OpenFind();
    else
        findBar_->FindNext(forward);
}

CellRange MainWindow::Selection() const
{
    const QRect range = Grid1->SelectedRange();
    return range.isEmpty() ? CellRange{} : CellRange{range.top(), range.left(), range.bottom(), range.right()};
}

void MainWindow::CopyCells()
{
    const CellRange range = Selection();
    if (!range.Empty())
        QGuiApplication::clipboard()->setText(FromBytes(CopyText(document, range)));
}

void MainWindow::PasteCells()
{
    const QModelIndex start = Grid1->currentIndex();
    if (!document.IsOpen() || !start.isValid() || !Commit())
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || text == QLatin1String("\n") || text == QLatin1String("\r\n") || text == QLatin1String("\r")) {
        ShowStatus(QStringLiteral("The clipboard holds no text to paste."));
        return;
    }
    if (const QString why = NotLatin1(text, document.IsIde()); !why.isEmpty()) {
        ShowStatus(QStringLiteral("Nothing was pasted: ") + why);
        return;
    }
    RangeWork work = PasteText(document, start.row(), start.column(), ToBytes(text));
    if (!work.refusal.empty()) {
        ShowStatus(QStringLiteral("Nothing was pasted: ") + FromBytes(work.refusal));
        return;
    }
    const int pasted = static_cast<int>(work.edits.size());
    undo_.push(RangeCommand::Paste(document, std::move(work.edits)));
    // What was pasted stays selected, to be seen and undone.
    const CellRange& covered = work.covered;
    Grid1->selectionModel()->select(QItemSelection(table_->index(covered.top, covered.left), table_->index(covered.bottom, covered.right)),
                                    QItemSelectionModel::ClearAndSelect);
    ShowCount(QStringLiteral("pasted"), pasted, work, QStringLiteral("left out (past the grid's edge, or on rows that take no values)"));
}

void MainWindow::ChangeValues(NumberChange change, const QString& question)
{
    const CellRange range = Selection();
    if (!document.IsOpen() || range.Empty() || !Commit())
        return;
    const std::optional<QString> answer = services_.numbers->AskNumber(this, question);
    if (!answer)
        return;
    const std::optional<std::string> number = ReadNumber(ToBytes(*answer));
    if (!number) {
        ShowStatus(QStringLiteral("\"%1\" is not a number: no value was changed.").arg(*answer));
        return;
    }
    RangeWork work = ChangeNumbers(document, range, change, *number);
    const int changed = static_cast<int>(work.edits.size());
    undo_.push(RangeCommand::Numbers(document, std::move(work.edits), change, FromBytes(*number)));
    ShowCount(QStringLiteral("changed"), changed, work, QStringLiteral("left as they are (no number)"));
}

void MainWindow::FillCells(const QString& value)
{
    RangeWork work = FillRange(document, Selection(), ToBytes(value));
    undo_.push(RangeCommand::Fill(document, std::move(work.edits), value));
    if (work.decimalCommas > 0)
        ShowStatus(DecimalCommasText(work.decimalCommas) + '.', false);
}

void MainWindow::ShowCount(const QString& done, int values, const RangeWork& work, const QString& left)
{
    QString text = LinesCommand::Values(values) + ' ' + done;
    if (work.leftOut > 0)
        text += QStringLiteral("; %1 %2").arg(work.leftOut).arg(left);
    if (work.decimalCommas > 0)
        text += QStringLiteral("; ") + DecimalCommasText(work.decimalCommas);
    ShowStatus(text + '.', work.leftOut > 0);
}

}  // namespace revlane::ui
