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
    // judged with those put in before them. A range's work comes in that order already.
    std::vector<const CellEdit*> order;
    order.reserve(edits.size());
    for (const CellEdit& edit : edits)
        order.push_back(&edit);
    const auto before = [](const CellEdit* a, const CellEdit* b) { return a->row != b->row ? a->row < b->row : a->col < b->col; };
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::stable_sort(order.begin(), order.end(), before);
    std::string first;
    FieldViews split;
    for (size_t begin = 0, end = 0; begin < order.size(); begin = end) {
        const int row = order[begin]->row;
        for (end = begin; end < order.size() && order[end]->row == row;)
            ++end;
        if (!IsVehicleRow(row))
            continue;
        SplitViews(LineAt(row), split);
        std::vector<std::string_view>& fields = split.fields;
        bool put = false;
        for (size_t i = begin; i < end; ++i) {
            const CellEdit& edit = *order[i];
            if (edit.col < 1 || edit.col >= Columns())
                continue;
            const size_t col = static_cast<size_t>(edit.col);
            std::string_view value = edit.value;
            if (std::optional<std::string> pointed = DecimalPointFor(edit.col, value))
                value = split.owned.emplace_back(std::move(*pointed));
            const char* why = nullptr;
            std::string said;
            if (const std::optional<char> ch = CharacterNotAllowed(value, IsIde()))
                why = (said = NotAllowedText(*ch, IsIde())).c_str();
            // handling.cfg's values stand apart by their gaps alone: an empty one would move
            // every value after it one column to the left.
            else if (!IsIde() && value.empty() && fields.size() > col + 1)
                why = "handling.cfg cannot hold an empty value before others.";
            else if (!IsIde() && !value.empty() && fields.size() < col)
                why = "handling.cfg cannot hold a value after an empty one.";
            if (why) {
                if (first.empty())
                    first = why;
                continue;
            }
            // An empty cell past the line's end is no field of it: writing one would lengthen
            // the line by a field nobody typed.
            if (value.empty() && col >= fields.size())
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

std::optional<std::string> Document::DecimalPointFor(int col, std::string_view value) const
{
    const size_t comma = value.find(',');
    if (comma == std::string_view::npos || value.find_first_of(",.", comma + 1) != std::string_view::npos
        || value.find('.') != std::string_view::npos || !HoldsNumbers(kind_, game_, col, Record()))
        return std::nullopt;
    std::string pointed(value);
    pointed[comma] = '.';
    return ParseDecimal(pointed) ? std::optional(std::move(pointed)) : std::nullopt;
}

std::string Document::WithDecimalPoint(int col, std::string_view value) const
{
    return DecimalPointFor(col, value).value_or(std::string(value));
}

int Document::DecimalCommas(const std::vector<CellEdit>& edits) const
{
    int count = 0;
    for (const CellEdit& edit : edits)
        count += IsVehicleRow(edit.row) && edit.col >= 1 && edit.col < Columns() && DecimalPointFor(edit.col, edit.value);
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
    changes.reserve(edits.size());
    PutValues(edits, [&](int row, const std::vector<std::string_view>& fields) {
        std::string built;
        BuildLine(fields, built);
        changes.push_back({row, std::move(built), view_});
        // The line read goes into the change, which holds it for an undo; nothing is copied. A
        // handling.cfg identifier takes no edit: only default.ide's model name may change here.
        SwapLine(view_, row, changes.back().text, IsIde());
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
    LineChange change{row, std::move(line), view};
    SwapLine(view, row, change.text, true);
    if (view == view_)
        TellRowsChanged(row, row);
    return change;
}

void Document::Undo(std::vector<LineChange>& changes)
{
    SwapBack(changes.rbegin(), changes.rend());
}

void Document::Redo(std::vector<LineChange>& changes)
{
    SwapBack(changes.begin(), changes.end());
}

template <class Changes>
void Document::SwapBack(Changes begin, Changes end)
{
    // A whole column's undo swaps a million lines back: each goes without a call of its own.
    int first = RowCount(), last = -1;
    bool swapped = false;
    for (Changes change = begin; change != end; ++change) {
        const int view = change->view, row = change->row;
        if (view < 0 || view >= ViewCount())
            continue;
        const std::vector<ViewRow>& rows = views_[static_cast<size_t>(view)].rows;
        if (row < 0 || row >= static_cast<int>(rows.size()) || rows[static_cast<size_t>(row)].kind != RowKind::Vehicle)
            continue;
        lines_[static_cast<size_t>(rows[static_cast<size_t>(row)].line)].swap(change->text);
        swapped = true;
        if (view == view_) {
            SplitRow& split = split_[static_cast<size_t>(row) % split_.size()];
            if (split.row == row)
                split.row = -1;
            first = std::min(first, row);
            last = std::max(last, row);
        }
    }
    if (swapped)
        modified_ = true;
    if (last >= 0)
        TellRowsChanged(first, last);
}

void Document::SwapLine(int view, int row, std::string& text, bool first)
{
    RecordView& shown = views_[static_cast<size_t>(view)];
    std::string& line = lines_[static_cast<size_t>(shown.rows[static_cast<size_t>(row)].line)];
    // The restore list keeps the names read: a vehicle renamed keeps its first name there.
    if (first && !shown.namesRead.count(row) && std::binary_search(shown.vehicleRows.begin(), shown.vehicleRows.end(), row)) {
        std::string name = NameOf(line);
        if (name != NameOf(text))
            shown.namesRead[row] = std::move(name);
    }
    line.swap(text);
    SplitRow& split = split_[static_cast<size_t>(row) % split_.size()];
    if (view == view_ && split.row == row)
        split.row = -1;
    modified_ = true;
}

std::string Document::NameOf(std::string_view line) const
{
    if (!IsIde())
        return std::string(KeyOf(line));
    FieldViews fields;
    SplitDefaultViews(line, fields);
    return fields.fields.size() > 1 ? std::string(fields.fields[1]) : std::string();
}

}  // namespace revlane
