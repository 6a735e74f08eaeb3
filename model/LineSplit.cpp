#include "LineSplit.h"

#include "Text.h"

#include <algorithm>

namespace revlane {

namespace {

// Puts a default.ide field into a cell as the cell shows it: without its tabs, and without the
// spaces around it. The same as trimming the spaces of the field with its tabs removed, without
// a copy of the field on the way.
void FillDefaultField(Grid& grid, int row, int col, std::string_view field)
{
    size_t first = 0;
    size_t last = field.size();
    while (first < last && IsFieldGap(field[first]))
        ++first;
    while (last > first && IsFieldGap(field[last - 1]))
        --last;
    field = field.substr(first, last - first);
    if (field.find('\t') == std::string_view::npos)
        grid.FillCell(row, col, field);
    else
        grid.SetTextMatrix(row, col, text::RemoveTabs(field));
}

}  // namespace

int SplitDefaultFields(Grid& grid, int row, std::string_view line)
{
    size_t start = 0;
    for (int col = 0; col < grid.Cols(); ++col) {
        const size_t comma = line.find(',', start);
        const size_t length = comma == std::string_view::npos ? std::string_view::npos : comma - start;
        FillDefaultField(grid, row, col, line.substr(start, length));
        if (comma == std::string_view::npos)
            return col + 1;
        start = comma + 1;
    }
    return grid.Cols();
}

std::string_view HandlingIdentifierOf(std::string_view line)
{
    size_t first = 0;
    while (first < line.size() && IsFieldGap(line[first]))
        ++first;
    size_t last = first;
    while (last < line.size() && !IsFieldGap(line[last]))
        ++last;
    return line.substr(first, last - first);
}

std::string SplitHandlingFields(Grid& grid, int row, std::string_view line, int* written)
{
    const std::string_view identifier = HandlingIdentifierOf(line);
    grid.FillCell(row, 0, identifier);
    int col = 1;
    // The values are the runs of characters between spaces and tabs, however many of either.
    const char* p = identifier.data() + identifier.size();
    const char* const end = line.data() + line.size();
    while (p < end && IsFieldGap(*p))
        ++p;
    if (p == end && grid.Cols() > 1)
        grid.FillCell(row, col++, std::string_view());
    for (; col < grid.Cols() && p < end; ++col) {
        const char* const start = p;
        while (p < end && !IsFieldGap(*p))
            ++p;
        grid.FillCell(row, col, std::string_view(start, static_cast<size_t>(p - start)));
        while (p < end && IsFieldGap(*p))
            ++p;
    }
    if (written)
        *written = std::min(col, grid.Cols());
    return std::string(identifier);
}

std::optional<char> CharacterNotAllowed(std::string_view value, bool defaultIde)
{
    for (const char ch : value)
        if (ch == '\r' || ch == '\n' || ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f' || (defaultIde && ch == ','))
            return ch;
    return std::nullopt;
}

std::string NotAllowedText(char ch, bool defaultIde)
{
    const char* what = ch == ',' ? "a comma" : ch == ' ' ? "a space" : ch == '\t' ? "a tab"
                     : ch == '\r' || ch == '\n' ? "a line end" : "whitespace";
    return std::string(defaultIde ? "default.ide" : "handling.cfg") + " cannot hold " + what
           + " inside a value. Remove it, or press Escape.";
}

}  // namespace revlane
