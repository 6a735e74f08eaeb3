#include "Views.h"

namespace revlane {

ViewGeometry GeometryFor(FileKind kind, Game game)
{
    const bool vice = game == Game::ViceCity;
    if (kind == FileKind::DefaultIde)
        return vice ? ViewGeometry{13, 2, 1, 500, 1200, 107} : ViewGeometry{12, 2, 1, 500, 1200, 61};
    return vice ? ViewGeometry{33, 1, 3, 1600, 1200, 106} : ViewGeometry{32, 1, 3, 1600, 1200, 57};
}

}  // namespace revlane
