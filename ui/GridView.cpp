#include "GridView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

#include "GridParts.h"
#include "Pictures.h"

namespace revlane::ui {

using grid::CaptionHeader;
using grid::LeadingColumns;
using grid::PaintUncovered;

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

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (frozen_ && col < fixedCols_) {
            frozen_->setColumnWidth(col, size);
            PlaceFrozen();
        }
    });
    connect(delegate_, &CellDelegate::moveAfterCommit, this, [this](int step) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.row() + step >= 0 && current.row() + step < model()->rowCount())
            MoveTo(current.row() + step, current.column());
    });
    SetRowHeights();
}

// The view of the columns that stay in view, made for the first file that has any: a window that
// opens none needs not make it.
void GridView::MakeFrozen()
{
    frozen_ = new QTableView(this);
    frozen_->setHorizontalHeader(new CaptionHeader(frozen_));
    auto* leading = new LeadingColumns(frozen_);
    leading->setSourceModel(model());
    frozen_->setModel(leading);
    // Drawn as headers, and never current.
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    frozen_->horizontalHeader()->setHighlightSections(false);
    frozen_->horizontalHeader()->setSectionsClickable(false);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setSelectionMode(NoSelection);
    frozen_->setEditTriggers(NoEditTriggers);
    frozen_->setTabKeyNavigation(false);
    frozen_->setWordWrap(false);
    frozen_->setFrameShape(QFrame::NoFrame);
    // In each state's own colours: the grid may be disabled while this is made.
    QPalette fixed = frozen_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        fixed.setColor(group, QPalette::Base, fixed.color(group, QPalette::Button));
        fixed.setColor(group, QPalette::Text, fixed.color(group, QPalette::ButtonText));
    }
    frozen_->setPalette(fixed);
    // Over the cells and the captions alike: the key columns' captions stay in view too.
    frozen_->raise();
    frozen_->hide();

    // Both views scroll together and keep the same widths.
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(), &QScrollBar::setValue);
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < fixedCols_)
            setColumnWidth(col, size);
    });
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
    if (fixedCols_ > 0 && !frozen_)
        MakeFrozen();
    SetRowHeights();
    if (frozen_)
        static_cast<LeadingColumns*>(frozen_->model())->SetCount(fixedCols_);
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
    updateGeometries();
    if (frozen_)
        QMetaObject::invokeMethod(frozen_, "updateGeometries");
}

int GridView::FrozenWidth() const
{
    int width = 0;
    for (int col = 0; col < fixedCols_; ++col)
        width += columnWidth(col);
    return width;
}

void GridView::PlaceFrozen()
{
    const bool shown = frozen_ && !frozen_->isHidden();
    static_cast<CaptionHeader*>(horizontalHeader())->SetCovered(shown ? FrozenWidth() : 0);
    if (frozen_)
        frozen_->setGeometry(frameWidth(), frameWidth(), FrozenWidth(), viewport()->height() + horizontalHeader()->height());
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
