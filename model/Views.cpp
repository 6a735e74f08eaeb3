#include "Views.h"

namespace revlane {

char RecordMarker(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Vehicle: return '\0';
    case RecordKind::Boat: return '%';
    case RecordKind::Bike: return '!';
    case RecordKind::Aircraft: return '$';
    }
    return '\0';
}

const char* RecordKindName(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Vehicle: return "Vehicles";
    case RecordKind::Boat: return "Boats";
    case RecordKind::Bike: return "Bikes";
    case RecordKind::Aircraft: return "Aircraft";
    }
    return "";
}

ViewGeometry GeometryFor(FileKind kind, Game game, RecordKind record)
{
    const bool vice = game == Game::ViceCity;
    if (kind == FileKind::DefaultIde)
        return ViewGeometry{vice ? 13 : 12, 2, 1, 500, 1200};
    switch (record) {
    case RecordKind::Vehicle: break;
    // The identifier and the values the game's own file names above each kind's records.
    case RecordKind::Boat: return ViewGeometry{15, 1, 2, 1600, 1200};
    case RecordKind::Bike: return ViewGeometry{16, 1, 2, 1600, 1200};
    case RecordKind::Aircraft: return ViewGeometry{19, 1, 2, 1600, 1200};
    }
    return ViewGeometry{vice ? 33 : 32, 1, 3, 1600, 1200};
}

}  // namespace revlane
