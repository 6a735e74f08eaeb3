#pragma once

namespace revlane {

enum class FileKind { DefaultIde, HandlingCfg };
enum class Game { Gta3, ViceCity };

// The shape of each file's view: its columns, how many of them (from the left) hold a vehicle's
// key and stay in view while the rest scroll, how many lines its column captions take, and the
// columns' standard widths.
struct ViewGeometry {
    int cols;
    int fixedCols;
    int headerLines;
    int col0Width;   // twips
    int otherWidth;  // twips
};

ViewGeometry GeometryFor(FileKind kind, Game game);

}  // namespace revlane
