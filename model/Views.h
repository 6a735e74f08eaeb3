#pragma once

#include <string_view>

namespace revlane {

enum class FileKind { DefaultIde, HandlingCfg };
enum class Game { Gta3, ViceCity };

// The kinds of record handling.cfg holds, each told by its line's first character: a vehicle's
// (a car's, and every vehicle's car-like record), and Vice City's boats' ("%"), bikes' ("!") and
// aircraft's ("$"). default.ide's cars are all vehicles.
enum class RecordKind : unsigned char { Vehicle, Boat, Bike, Aircraft };
inline constexpr int kRecordKinds = 4;

// The character a record line of the kind begins with; none ('\0') for a vehicle's.
char RecordMarker(RecordKind kind);
// The kind of a handling.cfg record line, by its first character.
inline RecordKind RecordKindOf(std::string_view line)
{
    const char first = line.empty() ? '\0' : line.front();
    return first == '%' ? RecordKind::Boat : first == '!' ? RecordKind::Bike : first == '$' ? RecordKind::Aircraft : RecordKind::Vehicle;
}
// What a view of the kind is called: "Vehicles", "Boats", "Bikes", "Aircraft".
const char* RecordKindName(RecordKind kind);

// The shape of each view: its columns, how many of them (from the left) hold a vehicle's key and
// stay in view while the rest scroll, how many lines its column captions take, and the columns'
// standard widths.
struct ViewGeometry {
    int cols;
    int fixedCols;
    int headerLines;
    int col0Width;   // twips
    int otherWidth;  // twips
};

ViewGeometry GeometryFor(FileKind kind, Game game, RecordKind record = RecordKind::Vehicle);

}  // namespace revlane
