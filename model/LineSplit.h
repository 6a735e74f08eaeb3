#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Grid.h"

// How a vehicle line of either file is laid over a grid row; reading, express import and
// restore all fill rows this way.
namespace revlane {

// The width a rebuilt handling.cfg line pads its identifier to, so that the values line up in
// the games' own layout; a longer identifier is followed by one space.
inline constexpr size_t kHandlingIdentifierWidth = 15;

// Whether a byte separates two values of a handling.cfg line, as the game reads it.
inline bool IsFieldGap(char ch)
{
    // Most characters read are above the space, and one comparison tells those apart.
    return static_cast<unsigned char>(ch) <= ' ' && (ch == ' ' || ch == '\t');
}

// The comma-separated fields of a default.ide line, into the row from column 0 on, each with
// its tabs removed and its blanks trimmed. Fields beyond the grid's columns are not shown.
// Returns how many cells were written.
int SplitDefaultFields(Grid& grid, int row, std::string_view line);

// A handling.cfg line as the game reads it: whitespace-separated tokens, tabs and spaces alike.
// The identifier, its first token, goes into column 0, the values into columns 1 on. Returns
// the identifier. How many cells of the row, from column 0 on, it wrote goes to `written`
// where one is given.
std::string SplitHandlingFields(Grid& grid, int row, std::string_view line, int* written = nullptr);

// The first token of a handling.cfg line: the vehicle it is for.
std::string_view HandlingIdentifierOf(std::string_view line);

// The first character of a value that its file cannot hold inside one field, or none: a line
// end would split the vehicle's line in two, whitespace (and in default.ide a comma) would split
// the value, and every later value would move one column.
std::optional<char> CharacterNotAllowed(std::string_view value, bool defaultIde);
// What the user is told when a value holds such a character.
std::string NotAllowedText(char ch, bool defaultIde);

}  // namespace revlane
