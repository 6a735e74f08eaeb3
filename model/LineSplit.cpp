#include "LineSplit.h"

#include "Text.h"

namespace revlane {

int SplitDefaultFields(Grid& grid, int row, std::string_view line)
{
    size_t start = 0;
    for (int col = 0; col < grid.Cols(); ++col) {
        const size_t comma = line.find(',', start);
        const size_t length = comma == std::string_view::npos ? std::string_view::npos : comma - start;
        grid.SetTextMatrix(row, col, text::TrimSpaces(text::RemoveTabs(line.substr(start, length))));
        if (comma == std::string_view::npos)
            return col + 1;
        start = comma + 1;
    }
    return grid.Cols();
}

std::string SplitHandlingFields(Grid& grid, int row, std::string_view line, size_t identifierWidth)
{
    std::string identifier = text::TrimSpaces(line.substr(0, identifierWidth));
    grid.SetTextMatrix(row, 0, identifier);
    const std::string values = line.size() > identifierWidth
                                   ? text::TrimSpaces(text::CollapseSpaces(text::ReplaceAll(line.substr(identifierWidth), "\t", " ")))
                                   : std::string();
    size_t start = 0;
    for (int col = 1; col < grid.Cols(); ++col) {
        const size_t space = values.find(' ', start);
        if (space == std::string::npos) {
            grid.SetTextMatrix(row, col, values.substr(start));
            break;
        }
        grid.SetTextMatrix(row, col, values.substr(start, space - start));
        start = space + 1;
    }
    return identifier;
}

}  // namespace revlane
