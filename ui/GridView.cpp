#include "GridView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

#include "CaptionHeader.h"
#include "FrozenColumnsView.h"
#include "Pictures.h"
#include "VehicleTableModel.h"

namespace revlane::ui {

GridView::GridView(QWidget* parent)
    : QTableView(parent), delegate_(new CellDelegate(this))
{
    setHorizontalHeader(new CaptionHeader(this));
    setItemDelegate(delegate_);
    setEditTriggers(NoEditTriggers);
    // Shift with the arrow keys, or a drag, selects a rectangle of cells.
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    // A click on a caption selects nothing: only a value's cell becomes current.
    horizontalHeader()->setSectionsClickable(false);
    // Clicking a scroll bar must not take the focus: an open cell editor stays open. The view takes
    // it on a click of a cell (below), not as the nearest parent of a scroll bar that was clicked.
    setFocusPolicy(Qt::TabFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    // The current cell keeps the highlight colours while another control has the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(delegate_, &CellDelegate::moveAfterCommit, this, [this](int step) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.row() + step >= 0 && current.row() + step < model()->rowCount())
            MoveTo(current.row() + step, current.column());
    });
    SetRowHeights();
}

void GridView::SetTable(VehicleTableModel* table)
{
    setModel(table);
    // Nothing is laid out during a read: the view is laid out once, when its shape is known.
    connect(table, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        holding_ = true;
        if (frozen_)
            frozen_->Hold(true);
    });
    connect(table, &QAbstractItemModel::modelReset, this, [this, table] { ShowView(table->Geometry()); });
}

QTableView* GridView::FrozenView() const
{
    return frozen_;
}

std::vector<QTableView*> GridView::Views()
{
    if (frozen_)
        return {this, frozen_};
    return {this};
}

int GridView::RowHeight() const
{
    return fontMetrics().height() + 4;
}

// Every row as high as the text and its margins, the captions' lines too. Only a change is made:
// a new height goes through every row.
void GridView::SetRowHeights()
{
    for (QTableView* view : Views()) {
        QHeaderView* rows = view->verticalHeader();
        if (rows->defaultSectionSize() != RowHeight()) {
            rows->setMinimumSectionSize(RowHeight());
            rows->setDefaultSectionSize(RowHeight());
            rows->setSectionResizeMode(QHeaderView::Fixed);
        }
        auto* captions = static_cast<CaptionHeader*>(view->horizontalHeader());
        if (captions->Height() != headerLines_ * RowHeight()) {
            captions->SetHeight(headerLines_ * RowHeight());
            if (!holding_)
                QMetaObject::invokeMethod(view, "updateGeometries");
        }
    }
}

void GridView::ShowView(const ViewGeometry& geometry)
{
    fixedCols_ = model() && model()->columnCount() > 0 ? geometry.fixedCols : 0;
    headerLines_ = geometry.headerLines;
    // Made for the first file that has such columns: a window that opens none needs not make it.
    if (fixedCols_ > 0 && !frozen_)
        frozen_ = new FrozenColumnsView(this);
    SetRowHeights();
    if (frozen_)
        frozen_->SetCount(fixedCols_);
    // The columns a read lays out anew take the standard width; only the first is another.
    const int width = TwipsToPixels(geometry.otherWidth, logicalDpiX());
    for (QTableView* view : Views()) {
        if (view->horizontalHeader()->defaultSectionSize() != width)
            view->horizontalHeader()->setDefaultSectionSize(width);
        view->horizontalHeader()->resizeSection(0, TwipsToPixels(geometry.col0Width, logicalDpiX()));
    }
    if (frozen_)
        frozen_->setVisible(fixedCols_ > 0);
    // Laid out once, with everything above in place.
    holding_ = false;
    if (frozen_)
        frozen_->Hold(false);
    updateGeometries();
    if (frozen_)
        QMetaObject::invokeMethod(frozen_, "updateGeometries");
}

int GridView::FrozenWidth() const
{
    return frozen_ ? frozen_->CoveredWidth() : 0;
}

void GridView::PlaceFrozen()
{
    if (frozen_)
        frozen_->Place();
}

void GridView::updateGeometries()
{
    if (holding_)
        return;
    QTableView::updateGeometries();
    PlaceFrozen();
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceFrozen();
    // A scroll bar that comes or goes changes the room: keep the current cell in view.
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void GridView::paintEvent(QPaintEvent* event)
{
    const int covered = static_cast<CaptionHeader*>(horizontalHeader())->Covered();
    PaintUncovered(event, covered, viewport()->height(), [this](QPaintEvent* e) { QTableView::paintEvent(e); });
}

void GridView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        SetRowHeights();
}

void GridView::MoveTo(int row, int col)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    col = std::clamp(col, fixedCols_, model()->columnCount() - 1);
    setCurrentIndex(model()->index(row, col));
    scrollTo(currentIndex());
}

void GridView::ShowStart()
{
    const int rows = model() ? model()->rowCount() : 0;
    const auto vehicle = [this](int row) { return bool(model()->flags(model()->index(row, fixedCols_)) & Qt::ItemIsEditable); };
    if (rows > 0) {
        int row = 0;
        while (row < rows - 1 && !vehicle(row))
            ++row;
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        MoveTo(vehicle(row) ? row : 0, fixedCols_);
    }
    setFocus();
}

void GridView::OpenEditor(std::optional<QChar> typed)
{
    const QModelIndex index = currentIndex();
    // Titles, keys and headers take no editor.
    if (!index.isValid() || !(model()->flags(index) & Qt::ItemIsEditable))
        return;
    delegate_->StartWith(typed);
    scrollTo(index);
    // The view selects a line box's whole text as it opens it; typing goes on from the caret here.
    if (edit(index, AllEditTriggers, nullptr))
        delegate_->PlaceCaret();
}

QRect GridView::SelectedRange() const
{
    QRect range;
    for (const QItemSelectionRange& part : selectionModel()->selection())
        range |= QRect(QPoint(std::max(part.left(), fixedCols_), part.top()), QPoint(part.right(), part.bottom()));
    const QModelIndex current = currentIndex();
    if (range.isEmpty() && current.isValid() && current.column() >= fixedCols_)
        range = QRect(current.column(), current.row(), 1, 1);
    return range;
}

void GridView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        ShowMenu(event->globalPos());
    else
        ShowMenu(viewport()->mapToGlobal(visualRect(currentIndex()).bottomLeft()));
}

QMenu* GridView::Menu()
{
    // Made at its first use, not at start-up: it holds the commands added to the view.
    if (!menu_) {
        menu_ = new QMenu(this);
        menu_->setObjectName(QStringLiteral("mnuGrid"));
        menu_->addActions(actions());
    }
    return menu_;
}

void GridView::ShowMenu(const QPoint& at)
{
    // Its commands work on the values as they stand: an open edit ends first, or the menu waits.
    if (!isEnabled() || !delegate_->TryCommit())
        return;
    Menu()->popup(at);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        ShowMenu(viewport()->mapToGlobal(visualRect(currentIndex()).bottomLeft()));
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
    case Qt::Key_Space:
    case Qt::Key_F2:
        if (!command) {
            OpenEditor(std::nullopt);
            return;
        }
        break;
    default: {
        const QString text = event->text();
        if (!command && text.size() == 1 && text[0].isPrint()) {
            OpenEditor(text[0]);
            return;
        }
    }
    }
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    // An editor whose value was refused keeps its cell current until it is put right or cancelled.
    if (delegate_->Editor() && !delegate_->TryCommit())
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() < fixedCols_)
        return;
    QTableView::mousePressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index == currentIndex())
        OpenEditor(std::nullopt);
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next.column() < fixedCols_)
        return model()->index(next.row(), fixedCols_);
    return next;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    // A fixed column is always in view: only the rows scroll to it.
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() < fixedCols_) {
        horizontalScrollBar()->setValue(across);
        return;
    }
    // Clear of the columns laid over the left edge.
    const int left = visualRect(index).left();
    if (left < FrozenWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (FrozenWidth() - left));
}

}  // namespace revlane::ui
