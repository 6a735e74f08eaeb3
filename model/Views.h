#pragma once

#include "Grid.h"

namespace revlane {

enum class FileKind { DefaultIde, HandlingCfg };
enum class Game { Gta3, ViceCity };

// The fixed shape of each grid view. The row count is the view's capacity: reading stops
// when it is reached, and the capacity message quotes maxVehicles.
struct ViewGeometry {
    int cols;
    int rows;
    int fixedCols;
    int fixedRows;
    int col0Width;   // twips
    int otherWidth;  // twips
    int maxVehicles;
};

ViewGeometry GeometryFor(FileKind kind, Game game);

// Empties the grid and gives it the view's counts, fixed rows and columns and widths.
// Reading keeps the cells as they are, to empty later only those it does not fill.
void PrepareGrid(Grid& grid, const ViewGeometry& geometry, bool emptyCells = true);

}  // namespace revlane
