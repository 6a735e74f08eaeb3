#pragma once

#include <optional>

// How the main window's grid and bottom panel follow the window's size. Everything else keeps
// its place: the top area, the grid's left and top edges and the bottom panel's size.
namespace revlane {

struct LayoutPass {
    int gridWidth;       // twips
    int gridHeight;      // twips
    int bottomTop;       // top of the bottom panel, twips from the client area's top
    int separatorRight;  // right end of the line above the grid: the grid's right edge
};

namespace layout {
inline constexpr int GridLeft = 120;
inline constexpr int GridTop = 1560;
// What the frame, the top area and the bottom area take of the window's outer size.
inline constexpr int WidthAroundGrid = 380;
inline constexpr int HeightAroundGrid = 5100;
inline constexpr int BottomPanelFromBottom = 3350;
// Between the grid's bottom edge and the bottom panel.
inline constexpr int GapBelowGrid = HeightAroundGrid - BottomPanelFromBottom - GridTop;
}  // namespace layout

// The layout for a window of the given outer size (frame and caption included) in twips;
// nothing for a minimized window, whose layout stays as it was. A window smaller than its fixed
// areas gets an empty grid rather than a negative size, and its bottom panel stays below the
// grid instead of climbing over the top area.
std::optional<LayoutPass> LayOut(int outerWidth, int outerHeight, bool minimized);

}  // namespace revlane
