#include "Views.h"

namespace revlane {

ViewGeometry GeometryFor(FileKind kind, Game game)
{
    const bool vice = game == Game::ViceCity;
    if (kind == FileKind::DefaultIde)
        return vice ? ViewGeometry{13, 108, 2, 1, 500, 1200, 107} : ViewGeometry{12, 62, 2, 1, 500, 1200, 61};
    return vice ? ViewGeometry{33, 112, 1, 3, 1600, 1200, 106} : ViewGeometry{32, 60, 1, 3, 1600, 1200, 57};
}

void PrepareGrid(Grid& grid, const ViewGeometry& geometry, bool emptyCells)
{
    if (emptyCells)
        grid.Clear();
    grid.SetSize(geometry.rows, geometry.cols);
    grid.SetFixedCols(geometry.fixedCols);
    grid.SetFixedRows(geometry.fixedRows);
    grid.SetColWidth(0, geometry.col0Width);
    for (int c = 1; c < geometry.cols; ++c)
        grid.SetColWidth(c, geometry.otherWidth);
}

}  // namespace revlane
