#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Grid.h"

// How a vehicle line of either file is laid over a grid row; reading, express import and
// restore all fill rows this way.
namespace revlane {

// The width of a handling.cfg line's identifier field as the file is read: the values begin
// after it, and the identifier is what it holds without its spaces.
inline constexpr size_t kHandlingIdentifierWidth = 15;

// The comma-separated fields of a default.ide line, into the row from column 0 on, each with
// its tabs removed and its blanks trimmed. Fields beyond the grid's columns are not shown.
// Returns how many cells were written.
int SplitDefaultFields(Grid& grid, int row, std::string_view line);

// A handling.cfg line: the identifier from its first identifierWidth characters into column 0,
// then its values, however they are spaced, into columns 1 on. Returns the identifier.
// How many cells of the row, from column 0 on, it wrote goes to `written` where one is given.
std::string SplitHandlingFields(Grid& grid, int row, std::string_view line, size_t identifierWidth, int* written = nullptr);

}  // namespace revlane
