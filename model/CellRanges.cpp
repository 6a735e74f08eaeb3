#include "CellRanges.h"

#include <algorithm>

#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

bool EndsCell(std::string_view text, size_t at)
{
    return at >= text.size() || text[at] == '\t' || text[at] == '\n' || text[at] == '\r';
}

// The rest of a range's work once its values are known: what the file refuses (where values
// come from outside), and the decimal commas written as points.
RangeWork Finished(const Document& document, RangeWork work, bool judged)
{
    if (judged)
        work.refusal = document.Refusal(work.edits);
    work.decimalCommas = document.DecimalCommas(work.edits);
    return work;
}

// The range within the grid's rows and value columns.
CellRange Within(const Document& document, CellRange range)
{
    range.top = std::max(range.top, 0);
    range.left = std::max(range.left, document.Geometry().fixedCols);
    range.bottom = std::min(range.bottom, document.RowCount() - 1);
    range.right = std::min(range.right, document.Columns() - 1);
    return range;
}

}  // namespace

std::optional<std::vector<std::vector<std::string>>> SplitTabbedText(std::string_view text)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool rowEnded = false;
    for (size_t i = 0; i < text.size();) {
        const char ch = text[i];
        rowEnded = false;
        if (ch == '\t') {
            rows.back().emplace_back();
            ++i;
        } else if (ch == '\n' || ch == '\r') {
            i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            rows.emplace_back(1);
            rowEnded = true;
        } else if (ch == '"' && rows.back().back().empty() && (i == 0 || EndsCell(text, i - 1))) {
            // Quoted only where the quote that closes it ends the cell; otherwise the quote is text.
            std::string quoted;
            size_t close = i + 1;
            for (; close < text.size(); ++close) {
                if (text[close] == '"' && close + 1 < text.size() && text[close + 1] == '"')
                    quoted += text[++close];
                else if (text[close] == '"')
                    break;
                else
                    quoted += text[close];
            }
            if (close < text.size() && EndsCell(text, close + 1)) {
                if (quoted.find_first_of("\r\n") != std::string::npos)
                    return std::nullopt;
                rows.back().back() = std::move(quoted);
                i = close + 1;
            } else {
                rows.back().back() += ch;
                ++i;
            }
        } else {
            rows.back().back() += ch;
            ++i;
        }
    }
    if (rowEnded)
        rows.pop_back();
    return rows;
}

RangeWork PasteText(const Document& document, int row, int col, std::string_view text)
{
    RangeWork work;
    const auto rows = SplitTabbedText(text);
    if (!rows) {
        work.refusal = NotAllowedText('\n', document.IsIde());
        return work;
    }
    size_t widest = 0;
    for (size_t i = 0; i < rows->size(); ++i) {
        const std::vector<std::string>& values = (*rows)[i];
        widest = std::max(widest, values.size());
        const int r = row + static_cast<int>(i);
        for (size_t j = 0; j < values.size(); ++j) {
            const int c = col + static_cast<int>(j);
            // A spreadsheet's empty cell leaves its value as it is.
            if (values[j].empty())
                continue;
            if (r >= document.RowCount() || c >= document.Columns() || !document.IsVehicleRow(r)) {
                ++work.leftOut;
                continue;
            }
            work.edits.push_back({r, c, values[j]});
        }
    }
    work.covered = Within(document, {row, col, row + static_cast<int>(rows->size()) - 1, col + static_cast<int>(widest) - 1});
    return Finished(document, std::move(work), true);
}

std::optional<std::string> ReadNumber(std::string_view typed)
{
    std::string number = text::TrimSpaces(typed);
    // A decimal comma is read as the games' point.
    if (number.find('.') == std::string::npos)
        std::replace(number.begin(), number.end(), ',', '.');
    return ParseDecimal(number) ? std::optional(number) : std::nullopt;
}

RangeWork ChangeNumbers(const Document& document, const CellRange& range, NumberChange change, std::string_view operand)
{
    RangeWork work;
    work.covered = Within(document, range);
    const CellRange& cells = work.covered;
    if (!cells.Empty())
        work.edits.reserve(static_cast<size_t>(cells.bottom - cells.top + 1) * static_cast<size_t>(cells.right - cells.left + 1));
    for (int row = cells.top; row <= cells.bottom; ++row) {
        if (!document.IsVehicleRow(row))
            continue;
        for (int col = cells.left; col <= cells.right; ++col) {
            if (std::optional<std::string> value = ChangeNumber(document.CellView(row, col), change, operand))
                work.edits.push_back({row, col, std::move(*value)});
            else
                ++work.leftOut;
        }
    }
    // A number changed is a plain decimal number in a cell that holds one: nothing to refuse.
    return Finished(document, std::move(work), false);
}

RangeWork FillRange(const Document& document, const CellRange& range, std::string_view value)
{
    RangeWork work;
    work.covered = Within(document, range);
    const CellRange& cells = work.covered;
    if (!cells.Empty())
        work.edits.reserve(static_cast<size_t>(cells.bottom - cells.top + 1) * static_cast<size_t>(cells.right - cells.left + 1));
    for (int row = cells.top; row <= cells.bottom; ++row)
        for (int col = cells.left; col <= cells.right && document.IsVehicleRow(row); ++col)
            work.edits.push_back({row, col, std::string(value)});
    // The cell typed in took the value; another that cannot is left as it is.
    return Finished(document, std::move(work), false);
}

std::string CopyText(const Document& document, const CellRange& range)
{
    std::string text;
    if (range.Empty())
        return text;
    // Room for a guess of a typical value each, grown as any string grows where that is short.
    text.reserve(static_cast<size_t>(range.bottom - range.top + 1) * static_cast<size_t>(range.right - range.left + 1) * 8);
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int col = range.left; col <= range.right; ++col) {
            if (col > range.left)
                text += '\t';
            text += document.CellView(row, col);
        }
        text += '\n';
    }
    return text;
}

}  // namespace revlane
