#include "Layout.h"

namespace revlane {

namespace {

// a - b, or 0 where that would be negative; never overflows.
int ClampedDifference(int a, int b)
{
    return a > b ? a - b : 0;
}

}  // namespace

std::optional<LayoutPass> LayOut(int outerWidth, int outerHeight, bool minimized)
{
    if (minimized)
        return std::nullopt;
    LayoutPass pass{};
    pass.gridWidth = ClampedDifference(outerWidth, layout::WidthAroundGrid);
    pass.gridHeight = ClampedDifference(outerHeight, layout::HeightAroundGrid);
    pass.bottomTop = layout::GridTop + pass.gridHeight + layout::GapBelowGrid;
    pass.separatorRight = pass.gridWidth + layout::GridLeft;
    return pass;
}

}  // namespace revlane
