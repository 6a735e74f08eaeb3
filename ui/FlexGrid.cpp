#include "FlexGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "Pictures.h"
#include "QtPorts.h"

namespace revlane::ui {

FlexGrid::FlexGrid(Grid& grid, QWidget* parent) : QAbstractScrollArea(parent), grid_(grid)
{
    // The grid takes the focus on a click of its cells (below), not on a click of its scroll
    // bars: scrolling leaves an open cell editor open and keeps the keys going to it.
    setFocusPolicy(Qt::TabFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Clicking a scroll bar must not take the focus: an open cell editor stays where it is.
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    // Over a header's right edge the pointer shows that the column can be resized.
    viewport()->setMouseTracking(true);
    grid_.SetObserver(this);
    setEnabled(grid_.Enabled());
    UpdateScrollBars();
}

FlexGrid::~FlexGrid()
{
    grid_.SetObserver(nullptr);
}

int FlexGrid::Px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

int FlexGrid::ColWidthPx(int col) const
{
    return Px(grid_.ColWidth(col));
}

int FlexGrid::RowHeightPx() const
{
    return fontMetrics().height() + 4;
}

int FlexGrid::FixedWidth() const
{
    int width = 0;
    for (int c = 0; c < grid_.FixedCols(); ++c)
        width += ColWidthPx(c);
    return width;
}

int FlexGrid::FixedHeight() const
{
    return grid_.FixedRows() * RowHeightPx();
}

// The scroll bars count whole columns and rows of the body, as a spreadsheet scrolls.
int FlexGrid::ColLeft(int col) const
{
    const int fixed = grid_.FixedCols();
    int x = 0;
    if (col < fixed) {
        for (int c = 0; c < col; ++c)
            x += ColWidthPx(c);
        return x;
    }
    const int first = fixed + horizontalScrollBar()->value();
    for (int c = std::min(col, first); c < std::max(col, first); ++c)
        x += ColWidthPx(c);
    return FixedWidth() + (col >= first ? x : -x);
}

int FlexGrid::RowTop(int row) const
{
    const int fixed = grid_.FixedRows();
    if (row < fixed)
        return row * RowHeightPx();
    return FixedHeight() + (row - fixed - verticalScrollBar()->value()) * RowHeightPx();
}

QRect FlexGrid::CellRect(int row, int col) const
{
    const QRect inViewport(ColLeft(col), RowTop(row), ColWidthPx(col), RowHeightPx());
    return inViewport.translated(viewport()->pos());
}

bool FlexGrid::CellAt(const QPoint& pos, int& row, int& col) const
{
    const QPoint p = pos - viewport()->pos();
    if (!viewport()->rect().contains(p))
        return false;
    row = -1;
    col = -1;
    if (p.y() < FixedHeight())
        row = p.y() / RowHeightPx();
    else if (RowHeightPx() > 0)
        row = grid_.FixedRows() + verticalScrollBar()->value() + (p.y() - FixedHeight()) / RowHeightPx();
    for (int c = 0; c < grid_.Cols(); ++c) {
        const int left = ColLeft(c);
        if (c >= grid_.FixedCols() && left < FixedWidth() && left + ColWidthPx(c) <= FixedWidth())
            continue;  // scrolled away under the fixed columns
        if (p.x() >= left && p.x() < left + ColWidthPx(c) && (c < grid_.FixedCols() || p.x() >= FixedWidth())) {
            col = c;
            break;
        }
    }
    return row >= 0 && row < grid_.Rows() && col >= 0;
}

int FlexGrid::VisibleBodyRows() const
{
    return std::max(1, (viewport()->height() - FixedHeight()) / std::max(1, RowHeightPx()));
}

void FlexGrid::UpdateScrollBars()
{
    const int viewWidth = std::max(0, viewport()->width() - FixedWidth());
    // The last scroll position shows the last column whole at the right edge. The screen's
    // resolution is asked once here, not once for every column.
    const qreal dpi = logicalDpiX();
    const auto widthPx = [&](int col) { return TwipsToPixels(grid_.ColWidth(col), dpi); };
    const int fixed = grid_.FixedCols();
    int start = grid_.Cols();
    for (int width = 0; start > fixed && width + widthPx(start - 1) <= viewWidth; --start)
        width += widthPx(start - 1);
    if (start == grid_.Cols() && start > fixed)
        start = grid_.Cols() - 1;  // the last column alone is wider than the view
    horizontalScrollBar()->setRange(0, std::max(0, start - fixed));
    horizontalScrollBar()->setPageStep(std::max(1, viewWidth / std::max(1, TwipsToPixels(1200, dpi))));
    horizontalScrollBar()->setSingleStep(1);
    const int bodyRows = grid_.Rows() - grid_.FixedRows();
    verticalScrollBar()->setRange(0, std::max(0, bodyRows - VisibleBodyRows()));
    verticalScrollBar()->setPageStep(VisibleBodyRows());
    verticalScrollBar()->setSingleStep(1);
}

void FlexGrid::EnsureVisible(int row, int col)
{
    if (row >= grid_.FixedRows() && row < grid_.Rows()) {
        QScrollBar* bar = verticalScrollBar();
        const int bodyRow = row - grid_.FixedRows();
        if (bodyRow < bar->value())
            bar->setValue(bodyRow);
        else if (bodyRow >= bar->value() + VisibleBodyRows())
            bar->setValue(bodyRow - VisibleBodyRows() + 1);
    }
    if (col >= grid_.FixedCols() && col < grid_.Cols()) {
        QScrollBar* bar = horizontalScrollBar();
        const int bodyCol = col - grid_.FixedCols();
        if (bodyCol < bar->value())
            bar->setValue(bodyCol);
        while (bar->value() < std::min(bodyCol, bar->maximum()) && ColLeft(col) + ColWidthPx(col) > viewport()->width())
            bar->setValue(bar->value() + 1);
    }
}

void FlexGrid::MoveTo(int row, int col)
{
    row = std::clamp(row, grid_.FixedRows(), grid_.Rows() - 1);
    col = std::clamp(col, grid_.FixedCols(), grid_.Cols() - 1);
    if (row < grid_.FixedRows() || col < grid_.FixedCols())
        return;  // only fixed cells: nothing can become current
    if (row == grid_.Row() && col == grid_.Col()) {
        EnsureVisible(row, col);
        return;
    }
    // The grid's notice of the new current cell scrolls it into view.
    grid_.SetRow(row);
    grid_.SetCol(col);
}

void FlexGrid::PaintCell(QPainter& p, int row, int col, const QRect& rect) const
{
    const bool fixed = row < grid_.FixedRows() || col < grid_.FixedCols();
    const bool current = !fixed && row == grid_.Row() && col == grid_.Col();
    const QPalette& pal = palette();
    QColor background = pal.color(QPalette::Base);
    QColor foreground = pal.color(QPalette::Text);
    if (fixed) {
        background = pal.color(QPalette::Button);
        foreground = pal.color(QPalette::ButtonText);
    } else if (current) {
        background = pal.color(QPalette::Highlight);
        foreground = pal.color(QPalette::HighlightedText);
    }
    static const CellMarks::Mark unmarked;
    const CellMarks::Mark& mark = marks_ ? marks_->At(row, col) : unmarked;
    if (mark.stock && !current) {
        // A tint of the highlight colour: changed from stock, and still plainly not the current cell.
        const QColor tint = pal.color(QPalette::Highlight);
        background = QColor::fromRgbF(background.redF() * 0.8 + tint.redF() * 0.2, background.greenF() * 0.8 + tint.greenF() * 0.2,
                                      background.blueF() * 0.8 + tint.blueF() * 0.2);
    }
    if (mark.outside && !current)
        foreground = QColor(0xc0, 0x30, 0x00);
    p.fillRect(rect, background);
    p.setPen(fixed ? pal.color(QPalette::Dark) : pal.color(QPalette::Midlight).darker(115));
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    const std::string& text = grid_.TextMatrix(row, col);
    if (!text.empty()) {
        p.setPen(foreground);
        if (mark.stock) {
            QFont bold = font();
            bold.setBold(true);
            p.setFont(bold);
        }
        p.drawText(rect.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FromBytes(text));
        p.setFont(font());
    }
}

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    // Where there are no cells, the grid shows its backdrop.
    p.fillRect(area, palette().color(QPalette::Mid));
    if (grid_.Rows() == 0 || grid_.Cols() == 0)
        return;

    const int fixedW = FixedWidth();
    const int fixedH = FixedHeight();
    const auto paintRange = [&](int rowFrom, int rowTo, int colFrom, int colTo, const QRect& clip) {
        p.save();
        p.setClipRect(clip);
        for (int r = rowFrom; r < rowTo; ++r) {
            const int top = RowTop(r);
            if (top >= clip.bottom() + 1 || top + RowHeightPx() <= clip.top())
                continue;
            for (int c = colFrom; c < colTo; ++c) {
                const int left = ColLeft(c);
                if (left >= clip.right() + 1 || left + ColWidthPx(c) <= clip.left())
                    continue;
                PaintCell(p, r, c, QRect(left, top, ColWidthPx(c), RowHeightPx()));
            }
        }
        p.restore();
    };
    const int rows = grid_.Rows();
    const int cols = grid_.Cols();
    const int fr = grid_.FixedRows();
    const int fc = grid_.FixedCols();
    paintRange(fr, rows, fc, cols, QRect(fixedW, fixedH, area.width() - fixedW, area.height() - fixedH));
    paintRange(0, fr, fc, cols, QRect(fixedW, 0, area.width() - fixedW, fixedH));
    paintRange(fr, rows, 0, fc, QRect(0, fixedH, fixedW, area.height() - fixedH));
    paintRange(0, fr, 0, fc, QRect(0, 0, fixedW, fixedH));
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    // A scroll bar that comes or goes changes the room: keep the current cell in view.
    EnsureVisible(grid_.Row(), grid_.Col());
}

void FlexGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateScrollBars();
}

void FlexGrid::GridLayoutChanged()
{
    UpdateScrollBars();
    viewport()->update();
}

void FlexGrid::GridCellChanged(int, int)
{
    viewport()->update();
}

void FlexGrid::GridCellsChanged()
{
    viewport()->update();
}

void FlexGrid::GridCurrentCellChanged()
{
    EnsureVisible(grid_.Row(), grid_.Col());
    viewport()->update();
}

void FlexGrid::GridEnabledChanged()
{
    setEnabled(grid_.Enabled());
}

}  // namespace revlane::ui
