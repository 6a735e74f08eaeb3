#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Text.h"
#include "Views.h"

// The least any program does for the work Revlane is measured on, in plain C++ with nothing to
// spare: the floors of the file figures, and what the peer grid does for each gesture. Where it
// makes text, it makes the bytes Revlane makes, so that the bench can tell the work is the same.
namespace revlane::bench::floor {

// A file's lines as an editor of it must hold them (one string each, to change one without
// moving the rest, and how each ends, to write it back as it was), the file's identity as read,
// to tell another program's change, and which lines the grid shows as rows.
struct Lines {
    struct Row {
        int line;
        bool vehicle;  // not a title or a comment
    };
    std::vector<std::string> text;
    std::vector<LineEnd> ends;
    std::vector<Row> rows;
    std::uint64_t identity[3] = {};  // device, inode, change time
};

// Reads a file's lines into `into`, into the strings it already holds where it holds some (as a
// reload can), and finds the rows of its vehicle section as Revlane does: from the first vehicle
// to the section's end, a title (";-") and an indented comment being rows too.
void Read(const std::filesystem::path& path, FileKind kind, Game game, Lines& into);

// Value `col` of a handling.cfg line (0 its identifier), split as the game splits it; empty
// past the line's end.
std::string_view HandlingField(std::string_view line, int col);
// Field `col` of a default.ide line, without the blanks around it.
std::string_view DefaultField(std::string_view line, int col);

// The line in Revlane's own layout with its value `col` replaced: the identifier padded to 15
// columns, every value followed by a space, two tabs before value 30, `columns` values at least.
void BuildHandlingWith(std::string_view line, int col, std::string_view value, int columns, std::string& out);

// A plain decimal number multiplied, keeping its decimals and rounding half away from zero, as
// Revlane writes it; false where the value is no plain decimal number. `out` holds 400 bytes.
bool MultiplyDecimal(std::string_view value, double by, char* out, size_t& length);

// One step of the peer's undo: the lines a change touched, each with the text it does not have
// now. Undone or made again, the texts change places, with nothing copied.
struct Step {
    std::vector<std::pair<int, std::string>> lines;
    void Swap(std::vector<std::string>& text);
};

// Rows `top` to `bottom` of the vehicle rows, value `col` of each changed as `change` writes it
// into a buffer (false: left as it is); each changed line rebuilt, its old text kept in the step.
template <class Change>
Step ChangeColumn(Lines& lines, int top, int bottom, int col, int columns, Change change)
{
    Step step;
    step.lines.reserve(static_cast<size_t>(bottom - top + 1));
    char buffer[400];
    for (int row = top; row <= bottom; ++row) {
        const Lines::Row& r = lines.rows[static_cast<size_t>(row)];
        if (!r.vehicle)
            continue;
        std::string& line = lines.text[static_cast<size_t>(r.line)];
        size_t length = 0;
        if (!change(HandlingField(line, col), buffer, length))
            continue;
        std::string rebuilt;
        BuildHandlingWith(line, col, std::string_view(buffer, length), columns, rebuilt);
        step.lines.emplace_back(r.line, std::move(line));
        line = std::move(rebuilt);
    }
    return step;
}

// What a copy of value `col` of rows `top` to `bottom` puts on the clipboard: each row's value
// and a line feed, nothing for a row that holds no vehicle.
std::string ColumnText(const Lines& lines, int top, int bottom, int col);

// The first vehicle row after `from`, round the end, whose identifier begins with `name` in any
// case; -1 for none.
int FindVehicle(const Lines& lines, std::string_view name, int from);

// A fingerprint of the lines' texts, to tell that two programs made the same ones.
std::size_t Fingerprint(const std::vector<std::string>& text);

}  // namespace revlane::bench::floor
