#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

#include "FlexGrid.h"
#include "LineSplit.h"
#include "QtPorts.h"
#include "frmMain.h"

// Editing one cell in place: the editor opens over the current cell, and each gesture that ends
// the edit commits it with one call, which writes the cell and rebuilds the vehicle's line.
namespace revlane::ui {

namespace {

// A value copied from a spreadsheet's cell comes with a line end; pasted into the editor, that
// one is dropped. Typing puts no line end in a line box, so one just before the caret came with
// a paste.
class DropPastedLineEnd : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const QString before = input.left(pos);
        const int end = before.endsWith(QLatin1String("\r\n")) ? 2 : before.endsWith('\n') || before.endsWith('\r') ? 1 : 0;
        input.remove(pos - end, end);
        pos -= end;
        return Acceptable;
    }
};

}  // namespace

void frmMain::SetUpEditor()
{
    txtGrid->setValidator(new DropPastedLineEnd(txtGrid));
}

// Tells the user something about the grid in the line above it; an empty text puts the line's
// usual help back.
void frmMain::ShowStatus(const QString& text)
{
    lblStatus->setText(text);
    lblStatus->setVisible(!text.isEmpty());
    lblProcessed->setVisible(text.isEmpty());
}

// Opens the editor on the current cell; key is the character that opened it: a control
// character or the space keep the cell's text, any other character replaces it.
void frmMain::GridEdit(int key)
{
    // Section titles, and the empty rows below the last vehicle, have no vehicle line to rebuild.
    if (!file.IsVehicleRow(grid.Row()) || grid.Col() < grid.FixedCols())
        return;
    if (key >= 0 && key <= 32) {
        const QString text = FromBytes(grid.TextMatrix(grid.Row(), grid.Col()));
        txtGrid->setText(text);
        txtGrid->setCursorPosition(std::min<int>(15, int(text.size())));
    } else {
        txtGrid->setText(QString(QChar(key)));
        txtGrid->setCursorPosition(1);
    }
    Grid1->EnsureVisible(grid.Row(), grid.Col());
    const QRect cell = Grid1->CellRect(grid.Row(), grid.Col());
    const QPoint topLeft = Grid1->mapTo(this, cell.topLeft());
    txtGrid->setGeometry(topLeft.x(), topLeft.y(), cell.width(), std::max(1, cell.height() - Px(20)));
    editing_ = true;
    ShowStatus(QString());
    txtGrid->show();
    txtGrid->raise();
    txtGrid->setFocus();
}

// Ends an open edit: the editor's text becomes the current cell's, and the row's line is rebuilt.
// A value the file cannot hold is refused: the editor stays open with it, the line above the grid
// says why, and false tells the caller to go no further.
bool frmMain::Commit()
{
    if (!editing_)
        return true;
    const std::string value = ToBytes(txtGrid->text());
    if (const auto ch = CharacterNotAllowed(value, file.DefaultMode)) {
        ShowStatus(QString::fromStdString(NotAllowedText(*ch, file.DefaultMode)));
        txtGrid->setFocus();
        return false;
    }
    editing_ = false;
    const int row = grid.Row();
    const ConfigFile::RowState before = file.RowAt(row);
    txtGrid->hide();
    ShowStatus(QString());
    file.SetCell(row, grid.Col(), value);
    RecordChange(row, before, QStringLiteral("Edit"));
    return true;
}

// Ends an open edit without writing anything back.
void frmMain::CancelEdit()
{
    editing_ = false;
    txtGrid->hide();
    ShowStatus(QString());
}

void frmMain::txtGrid_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        CancelEdit();
        Grid1->setFocus();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Commit())
            Grid1->setFocus();
        break;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        // The edit lands in the cell it was made in before the current cell moves.
        if (!Commit())
            break;
        Grid1->setFocus();
        const int row = grid.Row();
        if (key == Qt::Key_Down && row < grid.Rows() - 1)
            Grid1->MoveTo(row + 1, grid.Col());
        else if (key == Qt::Key_Up && row > grid.FixedRows())
            Grid1->MoveTo(row - 1, grid.Col());
        break;
    }
    default: break;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtGrid) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down
                || key == Qt::Key_Up) {
                txtGrid_KeyDown(key);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving the editor for another control (or another cell) ends the edit there;
            // switching to another program leaves it open, as it leaves the caret.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                Commit();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace revlane::ui
