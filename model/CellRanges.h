#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Document.h"
#include "FieldRules.h"

// Work on many cells at once, as a modder does it with a spreadsheet beside: a range pasted from
// tab-separated text, numbers set, added to or multiplied, one value written into every cell, a
// range copied out. Each works out the values it would put into the document and what it leaves
// out; the document puts them in as one change.
namespace revlane {

// The cells from row `top` and column `left` to row `bottom` and column `right`, all included.
struct CellRange {
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;
    bool Empty() const { return bottom < top || right < left; }
    bool operator==(const CellRange&) const = default;
};

// What a change of many cells would do.
struct RangeWork {
    std::vector<CellEdit> edits;  // a value for each cell that takes one
    // Cells left as they are: past the grid's edges or on rows that take no values (a paste), or
    // holding no number (a change of numbers).
    int leftOut = 0;
    int decimalCommas = 0;  // values that go in with a decimal comma written as a point
    std::string refusal;    // where set, why nothing goes in: then nothing changes
    CellRange covered;      // the cells the work lies over, within the grid
};

// The rows of tab-separated text, as spreadsheets and text editors put a range on the clipboard,
// each split into its cells. CR LF, LF and CR each end a row; a final one starts no empty row. A
// cell that begins with a quote and whose closing quote ends it (a spreadsheet quotes a cell that
// holds a tab, a line break or a quote, and doubles its quotes) is one cell, without its quotes;
// any other quote is text. None where such a cell holds a line break: no value can.
std::optional<std::vector<std::vector<std::string>>> SplitTabbedText(std::string_view text);

// The text pasted from a cell to the right and down, a line to a row. A spreadsheet's empty cell
// leaves its cell as it is; a cell past the grid's edges or on a row that takes no values is left
// out and counted. Any value the file cannot hold refuses the whole paste.
RangeWork PasteText(const Document& document, int row, int col, std::string_view text);

// A number as the user typed it, as the games write it: without the blanks around it, a decimal
// comma read as the point where it has none. None where it is no number.
std::optional<std::string> ReadNumber(std::string_view typed);

// Every value of the range's vehicle rows that holds a number, set to the operand, added to or
// multiplied by it (ChangeNumber keeps the decimals); the cells that hold none are counted.
RangeWork ChangeNumbers(const Document& document, const CellRange& range, NumberChange change,
                        std::string_view operand);

// One value for every cell of the range's vehicle rows.
RangeWork FillRange(const Document& document, const CellRange& range, std::string_view value);

// The range as spreadsheets and text editors take it: cells apart by tabs, every row ended by a
// line feed.
std::string CopyText(const Document& document, const CellRange& range);

}  // namespace revlane
