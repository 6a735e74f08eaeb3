#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "FlexGrid.h"
#include "QtPorts.h"
#include "Text.h"

// The grid's mouse and keys: moving the current cell, opening the editor, resizing columns by
// their header's edge, and the tooltips.
namespace revlane::ui {

namespace {

// How near a header's right edge the pointer must be to take it, in pixels.
constexpr int kEdgeReach = 3;

}  // namespace

int FlexGrid::ColumnEdgeAt(const QPoint& pos) const
{
    if (pos.y() < 0 || pos.y() >= FixedHeight())
        return -1;
    for (int c = 0; c < grid_.Cols(); ++c) {
        const int left = ColLeft(c);
        if (c >= grid_.FixedCols() && left < FixedWidth())
            continue;  // scrolled away under the fixed columns
        if (std::abs(pos.x() - (left + ColWidthPx(c))) <= kEdgeReach)
            return c;
    }
    return -1;
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    // Mouse events reach us from the viewport, in its coordinates.
    const QPoint inViewport = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    // An open editor whose value was refused keeps the focus, and its cell stays the current one.
    if (!hasFocus())
        return;
    const int edge = event->button() == Qt::LeftButton ? ColumnEdgeAt(inViewport) : -1;
    if (edge >= 0) {
        resizing_ = edge;
        dragStart_ = inViewport.x();
        widthAtStart_ = ColWidthPx(edge);
        return;
    }
    int row = 0;
    int col = 0;
    if (event->button() == Qt::LeftButton && CellAt(inViewport + viewport()->pos(), row, col)
        && row >= grid_.FixedRows() && col >= grid_.FixedCols())
        MoveTo(row, col);
    QAbstractScrollArea::mousePressEvent(event);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint inViewport = event->position().toPoint();
    if (resizing_ >= 0) {
        const int pixels = std::max(kEdgeReach * 2, widthAtStart_ + inViewport.x() - dragStart_);
        grid_.SetColWidth(resizing_, static_cast<int>(std::ceil(pixels * 1440.0 / logicalDpiX())));
        return;
    }
    viewport()->setCursor(ColumnEdgeAt(inViewport) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    resizing_ = -1;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint inViewport = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    if (const int edge = ColumnEdgeAt(inViewport); edge >= 0) {
        FitColumn(edge);
        return;
    }
    int row = 0;
    int col = 0;
    if (CellAt(inViewport + viewport()->pos(), row, col) && row == grid_.Row() && col == grid_.Col())
        emit DblClick();
}

void FlexGrid::FitColumn(int col)
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics plainMetrics = fontMetrics(), boldMetrics(bold);
    int widest = 0;
    for (int row = 0; row < grid_.Rows(); ++row) {
        const bool marked = marks_ && marks_->At(row, col).stock;
        const QString text = FromBytes(grid_.TextMatrix(row, col));
        widest = std::max(widest, (marked ? boldMetrics : plainMetrics).horizontalAdvance(text));
    }
    // The text's margins on both sides, as the cells are painted.
    grid_.SetColWidth(col, static_cast<int>(std::ceil((widest + 7) * 1440.0 / logicalDpiX())));
}

QString FlexGrid::ToolTipFor(int row, int col) const
{
    if (row < grid_.FixedRows()) {
        // The column's whole caption: its letter, then the field's name and range hint.
        QStringList parts;
        for (int r = 0; r < grid_.FixedRows(); ++r)
            if (const std::string part = text::TrimSpaces(grid_.TextMatrix(r, col)); !part.empty())
                parts << FromBytes(part);
        const QString letter = parts.value(0);
        return parts.size() > 1 ? letter + QStringLiteral(": ") + parts.mid(1).join(QLatin1Char(' ')) : letter;
    }
    if (!marks_)
        return QString();
    const CellMarks::Mark& mark = marks_->At(row, col);
    QStringList lines;
    if (mark.stock)
        lines << QStringLiteral("Stock value: ") + FromBytes(*mark.stock);
    if (mark.outside)
        lines << QStringLiteral("Outside the range of ") + FromBytes(marks_->RuleText(col));
    return lines.join(QLatin1Char('\n'));
}

bool FlexGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        int row = 0;
        int col = 0;
        const QString tip = CellAt(help->pos() + viewport()->pos(), row, col) ? ToolTipFor(row, col) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    const int row = grid_.Row();
    const int col = grid_.Col();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up: MoveTo(row - 1, col); return;
    case Qt::Key_Down: MoveTo(row + 1, col); return;
    case Qt::Key_Left: MoveTo(row, col - 1); return;
    case Qt::Key_Right: MoveTo(row, col + 1); return;
    case Qt::Key_PageUp: MoveTo(row - VisibleBodyRows(), col); return;
    case Qt::Key_PageDown: MoveTo(row + VisibleBodyRows(), col); return;
    case Qt::Key_Home: MoveTo(ctrl ? grid_.FixedRows() : row, grid_.FixedCols()); return;
    case Qt::Key_End: MoveTo(ctrl ? grid_.Rows() - 1 : row, grid_.Cols() - 1); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit KeyPress(13); return;
    case Qt::Key_Escape: emit KeyPress(27); return;
    case Qt::Key_Backspace: emit KeyPress(8); return;
    default: break;
    }
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!command && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127) {
        emit KeyPress(text[0].unicode());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace revlane::ui
