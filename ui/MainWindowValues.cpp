#include "MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "GridView.h"
#include "LineSplit.h"
#include "Pictures.h"
#include "QtPorts.h"
#include "VehicleTableModel.h"

// A modder's work on many values at once: finding a vehicle by its name, copying a range of cells
// to a spreadsheet and pasting one back, and setting, adding to or multiplying every selected
// value. Each change is one step of the undo stack and leaves the rows that hold no vehicle alone.
namespace revlane::ui {

namespace {

// "1 value", "3 values".
QString Values(int count)
{
    return count == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(count);
}

// The rows and cells of a range as spreadsheets put it on the clipboard: cells apart by tabs, rows
// ended by line ends, and a cell that holds a tab, a line end or a quote in double quotes, with
// its quotes doubled. Such a cell is one cell, whatever it holds. A final line end starts no
// empty row. None when a cell holds a line end: no value of the files can, and split into two
// rows it would put half a value into the row below.
std::optional<QList<QStringList>> SplitRange(const QString& text)
{
    QList<QStringList> rows{QStringList{QString()}};
    const auto isEnd = [&](qsizetype i) { return i >= text.size() || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'; };
    bool rowEnded = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar ch = text[i];
        rowEnded = false;
        if (ch == '\t') {
            rows.back().append(QString());
            ++i;
        } else if (ch == '\n' || ch == '\r') {
            i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            rows.append(QStringList{QString()});
            rowEnded = true;
        } else if (ch == '"' && (i == 0 || isEnd(i - 1))) {
            // Quoted only where the quote that closes it ends the cell; otherwise the quote is text.
            QString quoted;
            qsizetype j = i + 1;
            for (; j < text.size(); ++j) {
                if (text[j] == '"' && j + 1 < text.size() && text[j + 1] == '"')
                    quoted += text[++j];
                else if (text[j] == '"')
                    break;
                else
                    quoted += text[j];
            }
            if (j < text.size() && isEnd(j + 1)) {
                if (quoted.contains('\n') || quoted.contains('\r'))
                    return std::nullopt;
                rows.back().back() = quoted;
                i = j + 1;
            } else {
                rows.back().back() += ch;
                ++i;
            }
        } else {
            rows.back().back() += ch;
            ++i;
        }
    }
    if (rowEnded)
        rows.removeLast();
    return rows;
}

}  // namespace

QString MainWindow::DecimalCommasText(int count)
{
    return count == 1 ? QStringLiteral("1 decimal comma written as a point")
                      : QStringLiteral("%1 decimal commas written as points").arg(count);
}

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

void MainWindow::BuildFind()
{
    picFind = new QWidget(this);
    picFind->setObjectName(QStringLiteral("picFind"));
    picFind->setGeometry(TwipRect(this, 5760, 1140, 3255, 285));
    lblFind = new QLabel(QStringLiteral("Find:"), picFind);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    lblFind->setFont(DialogFont(true));
    lblFind->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblFind->setGeometry(TwipRect(this, 0, 30, 1035, 255));
    txtFind = new QLineEdit(picFind);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setGeometry(TwipRect(this, 1095, 0, 2160, 285));
    // A screen reader names the box by its label.
    lblFind->setBuddy(txtFind);
    new QShortcut(QKeySequence(Qt::Key_Escape), txtFind, [this] { CloseFind(); }, Qt::WidgetShortcut);
    connect(txtFind, &QLineEdit::returnPressed, this, [this] { FindNext(true); });
    // A name that found nothing is marked until it is changed.
    connect(txtFind, &QLineEdit::textEdited, this, [this] { MarkNotFound(false); });
}

bool MainWindow::FindOpen() const
{
    return picFind && picFind->isVisible();
}

void MainWindow::MarkNotFound(bool notFound)
{
    // Said in the box: a message box would stand between the user and the name to put right.
    QPalette colours = palette();
    if (notFound) {
        colours.setColor(QPalette::Text, WarningColour());
        colours.setColor(QPalette::WindowText, WarningColour());
    }
    txtFind->setPalette(colours);
    lblFind->setPalette(colours);
    lblFind->setText(notFound ? QStringLiteral("Not found:") : QStringLiteral("Find:"));
    const QString why = notFound ? QStringLiteral("No vehicle's name begins with \"%1\".").arg(txtFind->text()) : QString();
    txtFind->setToolTip(why);
    txtFind->setAccessibleDescription(why);
}

void MainWindow::OpenFind()
{
    if (!document.IsOpen() || !Commit())
        return;
    if (!picFind)
        BuildFind();
    picFind->show();
    ShowStatus(lblStatus->text());
    LayoutPass();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void MainWindow::CloseFind()
{
    picFind->hide();
    ShowStatus(lblStatus->text());
    LayoutPass();
    Grid1->setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::FindNext(bool forward)
{
    if (!document.IsOpen() || !Commit())
        return;
    if (!FindOpen() || txtFind->text().isEmpty()) {
        OpenFind();
        return;
    }
    const QModelIndex current = Grid1->currentIndex();
    const int from = current.isValid() ? current.row() : forward ? -1 : 0;
    const int row = document.FindVehicle(ToBytes(txtFind->text()), from, forward);
    MarkNotFound(row < 0);
    if (row < 0)
        return;
    Grid1->MoveTo(row, current.isValid() ? current.column() : 0);
    // Typing now edits the vehicle found.
    Grid1->setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::CopyCells()
{
    const QRect range = Grid1->SelectedRange();
    if (range.isEmpty())
        return;
    // As spreadsheets and text editors take it: cells apart by tabs, every row ended by a line feed.
    QString text;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        for (int col = range.left(); col <= range.right(); ++col) {
            if (col > range.left())
                text += '\t';
            text += FromBytes(document.Cell(row, col));
        }
        text += '\n';
    }
    QGuiApplication::clipboard()->setText(text);
}

void MainWindow::PasteCells()
{
    const QModelIndex start = Grid1->currentIndex();
    if (!document.IsOpen() || !start.isValid() || !Commit())
        return;
    const QString text = QGuiApplication::clipboard()->text();
    const std::optional<QList<QStringList>> lines = SplitRange(text);
    if (lines && lines->size() == 1 && lines->front() == QStringList{QString()}) {
        ShowStatus(QStringLiteral("The clipboard holds no text to paste."));
        return;
    }
    QString why = NotLatin1(text, document.IsIde());
    if (why.isEmpty() && !lines)
        why = FromBytes(NotAllowedText('\n', document.IsIde()));
    if (!why.isEmpty()) {
        ShowStatus(QStringLiteral("Nothing was pasted: ") + why);
        return;
    }
    std::vector<CellEdit> edits;
    int leftOut = 0;
    int widest = 0;
    for (int i = 0; i < lines->size(); ++i) {
        const QStringList& values = (*lines)[i];
        widest = std::max(widest, int(values.size()));
        const int row = start.row() + i;
        for (int j = 0; j < values.size(); ++j) {
            const int col = start.column() + j;
            // A spreadsheet's empty cell leaves its value as it is.
            if (values[j].isEmpty())
                continue;
            if (row >= document.RowCount() || col >= document.Columns() || !document.IsVehicleRow(row)) {
                ++leftOut;
                continue;
            }
            edits.push_back({row, col, ToBytes(values[j])});
        }
    }
    if (const std::string why = document.Refusal(edits); !why.empty()) {
        ShowStatus(QStringLiteral("Nothing was pasted: ") + FromBytes(why));
        return;
    }
    const int pasted = int(edits.size());
    const int commas = document.DecimalCommas(edits);
    Change(QStringLiteral("Paste"), [this, edits = std::move(edits)] { return document.EditCells(edits); });
    // What was pasted stays selected, to be seen and undone.
    const int bottom = std::min(start.row() + int(lines->size()), document.RowCount()) - 1;
    const int right = std::min(start.column() + widest, document.Columns()) - 1;
    Grid1->selectionModel()->select(QItemSelection(table_->index(start.row(), start.column()), table_->index(bottom, right)),
                                    QItemSelectionModel::ClearAndSelect);
    ShowCount(QStringLiteral("pasted"), pasted, QStringLiteral("left out (past the grid's edge, or on rows that take no values)"), leftOut,
              commas);
}

void MainWindow::ChangeValues(NumberChange change, const QString& question)
{
    const QRect range = Grid1->SelectedRange();
    if (!document.IsOpen() || range.isEmpty() || !Commit())
        return;
    const std::optional<QString> answer = numbers_.AskNumber(this, question);
    if (!answer)
        return;
    // A decimal comma is read as the games' point.
    QString number = answer->trimmed();
    if (!number.contains('.'))
        number.replace(',', '.');
    if (!ParseDecimal(ToBytes(number))) {
        ShowStatus(QStringLiteral("\"%1\" is not a number: no value was changed.").arg(*answer));
        return;
    }
    std::vector<CellEdit> edits;
    int unchanged = 0;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        if (!document.IsVehicleRow(row))
            continue;
        for (int col = range.left(); col <= range.right(); ++col) {
            if (std::optional<std::string> value = ChangeNumber(document.Cell(row, col), change, ToBytes(number)))
                edits.push_back({row, col, std::move(*value)});
            else
                ++unchanged;
        }
    }
    const int changed = int(edits.size());
    Change(question, [this, edits = std::move(edits)] { return document.EditCells(edits); });
    ShowCount(QStringLiteral("changed"), changed, QStringLiteral("left as they are (no number)"), unchanged);
}

void MainWindow::FillCells(const QString& value)
{
    const QRect range = Grid1->SelectedRange();
    std::vector<CellEdit> edits;
    for (int row = range.top(); row <= range.bottom(); ++row)
        for (int col = range.left(); col <= range.right(); ++col)
            if (document.IsVehicleRow(row))
                edits.push_back({row, col, ToBytes(value)});
    const int commas = document.DecimalCommas(edits);
    Change(QStringLiteral("Edit"), [this, edits = std::move(edits)] { return document.EditCells(edits); });
    if (commas > 0)
        ShowStatus(DecimalCommasText(commas) + '.', false);
}

void MainWindow::ShowCount(const QString& done, int changed, const QString& left, int unchanged, int commas)
{
    QString text = Values(changed) + ' ' + done;
    if (unchanged > 0)
        text += QStringLiteral("; %1 %2").arg(unchanged).arg(left);
    if (commas > 0)
        text += QStringLiteral("; ") + DecimalCommasText(commas);
    ShowStatus(text + '.', unchanged > 0);
}

}  // namespace revlane::ui
