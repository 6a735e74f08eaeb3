#include "FrozenColumnsView.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "CaptionHeader.h"
#include "LeadingColumns.h"

namespace revlane::ui {

FrozenColumnsView::FrozenColumnsView(QTableView* grid) : QTableView(grid), grid_(grid)
{
    setHorizontalHeader(new CaptionHeader(this));
    auto* leading = new LeadingColumns(this);
    leading->setSourceModel(grid->model());
    setModel(leading);
    // Drawn as headers, and never current.
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerPixel);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    // In each state's own colours: the grid may be disabled while this is made.
    QPalette fixed = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        fixed.setColor(group, QPalette::Base, fixed.color(group, QPalette::Button));
        fixed.setColor(group, QPalette::Text, fixed.color(group, QPalette::ButtonText));
    }
    setPalette(fixed);
    // Over the cells and the captions alike: the key columns' captions stay in view too.
    raise();
    hide();

    // It shows the rows the grid shows, scrolled with it (rows that came or went may move them
    // without a scroll), and keeps its columns' widths.
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { ShowRows(); });
    connect(grid->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { ShowRows(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < count_)
            grid_->setColumnWidth(col, size);
    });
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < count_) {
            setColumnWidth(col, size);
            if (!held_)
                Place();
        }
    });
}

void FrozenColumnsView::SetCount(int columns)
{
    count_ = columns;
    static_cast<LeadingColumns*>(model())->SetCount(columns);
}

int FrozenColumnsView::CoveredWidth() const
{
    int width = 0;
    for (int col = 0; col < count_; ++col)
        width += grid_->columnWidth(col);
    return width;
}

void FrozenColumnsView::ShowRows()
{
    const int top = std::max(grid_->rowAt(0), 0);
    const int height = std::max(1, grid_->verticalHeader()->defaultSectionSize());
    static_cast<LeadingColumns*>(model())->SetRows(top, grid_->viewport()->height() / height + 2);
    // At the end the grid's top row may be cut: its own is cut as much.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(std::max(0, -grid_->rowViewportPosition(top)));
}

void FrozenColumnsView::wheelEvent(QWheelEvent* event)
{
    // It has no rows of its own to scroll: the grid's are scrolled.
    QCoreApplication::sendEvent(grid_->viewport(), event);
}

void FrozenColumnsView::Place()
{
    ShowRows();
    auto* captions = static_cast<CaptionHeader*>(grid_->horizontalHeader());
    captions->SetCovered(isHidden() ? 0 : CoveredWidth());
    const int frame = grid_->frameWidth();
    // Placed again at every change of the grid's layout, an open's ten of them: most leave it where it was.
    const QRect place(frame, frame, CoveredWidth(), grid_->viewport()->height() + captions->height());
    if (geometry() != place)
        setGeometry(place);
}

}  // namespace revlane::ui
