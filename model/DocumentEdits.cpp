#include "Document.h"

#include <algorithm>

#include "Catalogue.h"
#include "FieldRules.h"
#include "LineSplit.h"

// Every change of the document's lines: values put into cells, whole lines replaced, changes
// undone and made again. Each tells the listeners of the rows it changed in the view shown.
namespace revlane {

std::string Document::PutValues(const std::vector<CellEdit>& edits, const RowValues& changed) const
{
    // By row, then by column, so that every row's line is rebuilt once and a row's values are
    // judged with those put in before them.
    std::vector<const CellEdit*> order;
    order.reserve(edits.size());
    for (const CellEdit& edit : edits)
        order.push_back(&edit);
    std::stable_sort(order.begin(), order.end(), [](const CellEdit* a, const CellEdit* b) {
        return a->row != b->row ? a->row < b->row : a->col < b->col;
    });
    std::string first;
    for (size_t begin = 0, end = 0; begin < order.size(); begin = end) {
        const int row = order[begin]->row;
        for (end = begin; end < order.size() && order[end]->row == row;)
            ++end;
        if (!IsVehicleRow(row))
            continue;
        std::vector<std::string> fields = Fields(row);
        bool put = false;
        for (size_t i = begin; i < end; ++i) {
            const CellEdit& edit = *order[i];
            if (edit.col < 1 || edit.col >= Columns())
                continue;
            const size_t col = static_cast<size_t>(edit.col);
            const std::string value = WithDecimalPoint(edit.col, edit.value);
            std::string why;
            if (const std::optional<char> ch = CharacterNotAllowed(value, IsIde()))
                why = NotAllowedText(*ch, IsIde());
            // handling.cfg's values stand apart by their gaps alone: an empty one would move
            // every value after it one column to the left.
            else if (!IsIde() && value.empty() && fields.size() > col + 1)
                why = "handling.cfg cannot hold an empty value before others.";
            else if (!IsIde() && !value.empty() && fields.size() < col)
                why = "handling.cfg cannot hold a value after an empty one.";
            if (!why.empty()) {
                if (first.empty())
                    first = why;
                continue;
            }
            // An empty cell past the line's end is no field of it: writing one would lengthen
            // the line by a field nobody typed.
            if (edit.value.empty() && col >= fields.size())
                continue;
            if (fields.size() <= col)
                fields.resize(col + 1);
            fields[col] = value;
            put = true;
        }
        if (put && changed)
            changed(row, fields);
    }
    return first;
}

std::string Document::WithDecimalPoint(int col, std::string_view value) const
{
    const size_t comma = value.find(',');
    if (comma == std::string_view::npos || value.find_first_of(",.", comma + 1) != std::string_view::npos
        || value.find('.') != std::string_view::npos || !HoldsNumbers(kind_, game_, col, Record()))
        return std::string(value);
    std::string pointed(value);
    pointed[comma] = '.';
    return ParseDecimal(pointed) ? pointed : std::string(value);
}

int Document::DecimalCommas(const std::vector<CellEdit>& edits) const
{
    int count = 0;
    for (const CellEdit& edit : edits)
        count += IsVehicleRow(edit.row) && edit.col >= 1 && edit.col < Columns() && WithDecimalPoint(edit.col, edit.value) != edit.value;
    return count;
}

std::string Document::Refusal(const std::vector<CellEdit>& edits) const
{
    return PutValues(edits, nullptr);
}

std::optional<LineChange> Document::EditCell(int row, int col, std::string_view value)
{
    std::vector<LineChange> changes = EditCells({{row, col, std::string(value)}});
    return changes.empty() ? std::nullopt : std::optional<LineChange>(std::move(changes.front()));
}

std::vector<LineChange> Document::EditCells(const std::vector<CellEdit>& edits)
{
    std::vector<LineChange> changes;
    PutValues(edits, [&](int row, const std::vector<std::string>& fields) {
        changes.push_back({row, LineAt(row), BuildLine(fields), view_});
        SetLine(view_, row, changes.back().after);
    });
    // PutValues goes through the rows in order.
    if (!changes.empty())
        TellRowsChanged(changes.front().row, changes.back().row);
    return changes;
}

std::optional<LineChange> Document::ReplaceLine(int row, std::string line, int view)
{
    if (view < 0)
        view = view_;
    // A line end inside would split the line in two when the file is saved.
    if (!IsVehicleRowOf(view, row) || line.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    const int at = views_[static_cast<size_t>(view)].rows[static_cast<size_t>(row)].line;
    LineChange change{row, lines_[static_cast<size_t>(at)], std::move(line), view};
    SetLine(view, row, change.after);
    if (view == view_)
        TellRowsChanged(row, row);
    return change;
}

void Document::Undo(const std::vector<LineChange>& changes)
{
    int first = RowCount(), last = -1;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (!IsVehicleRowOf(change->view, change->row))
            continue;
        SetLine(change->view, change->row, change->before);
        if (change->view == view_) {
            first = std::min(first, change->row);
            last = std::max(last, change->row);
        }
    }
    if (last >= 0)
        TellRowsChanged(first, last);
}

void Document::Redo(const std::vector<LineChange>& changes)
{
    int first = RowCount(), last = -1;
    for (const LineChange& change : changes) {
        if (!IsVehicleRowOf(change.view, change.row))
            continue;
        SetLine(change.view, change.row, change.after);
        if (change.view == view_) {
            first = std::min(first, change.row);
            last = std::max(last, change.row);
        }
    }
    if (last >= 0)
        TellRowsChanged(first, last);
}

void Document::SetLine(int view, int row, std::string line)
{
    RecordView& shown = views_[static_cast<size_t>(view)];
    std::string& text = lines_[static_cast<size_t>(shown.rows[static_cast<size_t>(row)].line)];
    // The restore list keeps the names read; a vehicle changed keeps its first one there.
    if (!shown.namesRead.count(row) && std::binary_search(shown.vehicleRows.begin(), shown.vehicleRows.end(), row))
        shown.namesRead[row] = IsIde() ? SplitDefaultFields(text).at(1) : std::string(KeyOf(text));
    text = std::move(line);
    SplitRow& split = split_[static_cast<size_t>(row) % split_.size()];
    if (view == view_ && split.row == row)
        split.row = -1;
    modified_ = true;
}

}  // namespace revlane
