#pragma once

#include <QMenu>
#include <QTableView>

#include <optional>
#include <vector>

#include "CellDelegate.h"
#include "Views.h"


namespace revlane::ui {

class FrozenColumnsView;
class VehicleTableModel;

// The grid: a table of the open file's rows under its column captions, whose first columns (a
// vehicle's key) stay in view while the values scroll, as a second view laid over them shows
// them. Only values take the current cell: a key, the Enter, Space, Backspace, Escape or F2 key
// or a double-click opens the editor with the cell's text, any other character replaces it.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    // Shows the open file's rows, laid out anew at every read of it.
    void SetTable(VehicleTableModel* table);

    // The menu the right mouse button, the Menu key or Shift+F10 opens over the cells: the
    // commands added to the view.
    QMenu* Menu();
    // The selected cells' bounding rows and columns (x a column, y a row), values only; the
    // current cell alone where nothing is selected, an empty rectangle where there is none.
    QRect SelectedRange() const;

    CellDelegate* Delegate() const { return delegate_; }
    // The view laid over the columns that stay in view; none before a file with such columns.
    QTableView* FrozenView() const;
    int FixedColumns() const { return fixedCols_; }
    int RowHeight() const;

    // Commits an open editor; false when its value was refused and it stays open.
    bool CommitEdit() { return delegate_->TryCommit(); }
    void CancelEdit() { delegate_->Cancel(); }
    // Makes a cell current, as a click does, and brings it into view.
    void MoveTo(int row, int col);
    // A file just opened starts at its first vehicle's first value, scrolled to its start, with
    // the keys in the grid.
    void ShowStart();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Gives the view the open file's shape, after the model was reset: its standard column
    // widths, the columns that stay in view and the height of its captions, laid out once.
    void ShowView(const ViewGeometry& geometry);
    void ShowMenu(const QPoint& at);
    void OpenEditor(std::optional<QChar> typed);
    void SetRowHeights();
    std::vector<QTableView*> Views();
    void PlaceFrozen();
    int FrozenWidth() const;

    FrozenColumnsView* frozen_ = nullptr;
    CellDelegate* delegate_;
    QMenu* menu_ = nullptr;
    int fixedCols_ = 0;
    int headerLines_ = 1;
    bool holding_ = false;
};

}  // namespace revlane::ui
