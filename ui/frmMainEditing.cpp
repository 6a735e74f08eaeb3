#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

#include "FlexGrid.h"
#include "QtPorts.h"
#include "frmMain.h"

// Editing one cell in place: the editor opens over the current cell, and each gesture that ends
// the edit commits it with one call, which writes the cell and rebuilds the vehicle's line.
namespace revlane::ui {

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
    txtGrid->show();
    txtGrid->raise();
    txtGrid->setFocus();
}

// Ends an open edit: the editor's text becomes the current cell's, and the row's line is rebuilt.
void frmMain::Commit()
{
    if (!editing_)
        return;
    editing_ = false;
    const int row = grid.Row();
    const ConfigFile::RowState before = file.RowAt(row);
    grid.SetTextMatrix(row, grid.Col(), ToBytes(txtGrid->text()));
    txtGrid->hide();
    file.UpdateLine();
    RecordChange(row, before, QStringLiteral("Edit"));
}

// Ends an open edit without writing anything back.
void frmMain::CancelEdit()
{
    editing_ = false;
    txtGrid->hide();
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
        Commit();
        Grid1->setFocus();
        break;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        // The edit lands in the cell it was made in before the current cell moves.
        Commit();
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
