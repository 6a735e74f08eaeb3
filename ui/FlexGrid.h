#pragma once

#include <QAbstractScrollArea>
#include <QRect>

#include "CellMarks.h"
#include "Grid.h"

namespace revlane::ui {

// Shows a model Grid: fixed header rows and columns stay in view while the body scrolls in
// both directions, the current cell is drawn in the highlight colours, and the user moves it
// with the mouse and the keyboard. Cells that differ from their stock value or leave their
// column's range are marked, with a tooltip saying why; a header's tooltip gives the column's
// whole caption, and dragging a header's right edge resizes the column (a double-click fits it).
// What the window does on a gesture, it learns from the signals, named after the events it
// handles. Painting is in FlexGrid.cpp, the mouse and the keys in FlexGridInput.cpp.
class FlexGrid : public QAbstractScrollArea, private GridObserver {
    Q_OBJECT
public:
    explicit FlexGrid(Grid& grid, QWidget* parent = nullptr);
    ~FlexGrid() override;

    Grid& model() { return grid_; }
    const Grid& model() const { return grid_; }

    // Where a cell is drawn now, in this widget's coordinates.
    QRect CellRect(int row, int col) const;
    // The cell under a point of this widget; false outside the cells.
    bool CellAt(const QPoint& pos, int& row, int& col) const;
    int ColWidthPx(int col) const;
    int RowHeightPx() const;
    // Scrolls the body so that the cell is in view.
    void EnsureVisible(int row, int col);
    // Makes a cell current as a click does, and brings it into view.
    void MoveTo(int row, int col);
    // The marks to draw over the cells; none by default.
    void SetMarks(const CellMarks* marks) { marks_ = marks; }
    // What the pointer shows over a cell: a header's whole caption, or why a cell is marked.
    QString ToolTipFor(int row, int col) const;
    // Gives a column the width its widest text needs.
    void FitColumn(int col);

signals:
    void DblClick();
    // A character typed on the grid: Backspace 8, Enter 13, Escape 27, or a printable character.
    void KeyPress(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void GridLayoutChanged() override;
    void GridCellChanged(int row, int col) override;
    void GridCellsChanged() override;
    void GridCurrentCellChanged() override;
    void GridEnabledChanged() override;

    int Px(int twips) const;
    int FixedWidth() const;
    int FixedHeight() const;
    int ColLeft(int col) const;  // in viewport coordinates
    int RowTop(int row) const;   // in viewport coordinates
    void UpdateScrollBars();
    int VisibleBodyRows() const;
    void PaintCell(class QPainter& p, int row, int col, const QRect& rect) const;
    // The column whose right edge lies under a point of the header rows (viewport coordinates); -1 for none.
    int ColumnEdgeAt(const QPoint& pos) const;

    Grid& grid_;
    const CellMarks* marks_ = nullptr;
    int resizing_ = -1;  // the column being resized by a drag
    int dragStart_ = 0;
    int widthAtStart_ = 0;
};

}  // namespace revlane::ui
