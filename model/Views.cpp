#include "Views.h"

namespace revlane {

ViewGeometry GeometryFor(FileKind kind, Game game)
{
    const bool vice = game == Game::ViceCity;
    if (kind == FileKind::DefaultIde)
        return ViewGeometry{vice ? 13 : 12, 2, 1, 500, 1200};
    return ViewGeometry{vice ? 33 : 32, 1, 3, 1600, 1200};
}

}  // namespace revlane
