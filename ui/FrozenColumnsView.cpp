#include "FrozenColumnsView.h"

#include <QHeaderView>
#include <QScrollBar>

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

    // Both views scroll together and keep the same widths.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    // After rows came or went, the grid may scroll before this view has laid out its own: the
    // value it could not take then is taken once its range has caught up.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { verticalScrollBar()->setValue(grid_->verticalScrollBar()->value()); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < count_)
            grid_->setColumnWidth(col, size);
    });
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < count_) {
            setColumnWidth(col, size);
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

void FrozenColumnsView::Place()
{
    auto* captions = static_cast<CaptionHeader*>(grid_->horizontalHeader());
    captions->SetCovered(isHidden() ? 0 : CoveredWidth());
    const int frame = grid_->frameWidth();
    setGeometry(frame, frame, CoveredWidth(), grid_->viewport()->height() + captions->height());
}

}  // namespace revlane::ui
