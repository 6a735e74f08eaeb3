#include "Document.h"

#include <algorithm>

#include "Text.h"

// Whole record lines put in and taken out again: another file's vehicles taken over, and the
// undo of that. Every other change of the document keeps its lines where they are. And where any
// view's rows lie, for a look at every kind of record at once.
namespace revlane {

namespace {

std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Where records of a kind go: after the last one of that kind; where there is none, after the
// last record of any kind; where there is none at all, where the game stops reading records
// (";the end", or the end of default.ide's cars section). None for a default.ide without a cars
// section, where the game would read no record put in.
std::optional<size_t> PlaceOf(const std::vector<RecordView>& views, RecordKind kind, const std::vector<std::string>& lines, bool ide)
{
    std::optional<size_t> last;
    for (const RecordView& view : views) {
        if (view.rows.empty())
            continue;
        const size_t after = static_cast<size_t>(view.rows.back().line) + 1;
        if (view.kind == kind)
            return after;
        last = std::max(last.value_or(0), after);
    }
    if (last)
        return last;
    size_t at = 0;
    if (ide) {
        while (at < lines.size() && Trimmed(lines[at]) != "cars")
            ++at;
        if (at++ == lines.size())
            return std::nullopt;
        while (at < lines.size() && Trimmed(lines[at]) != "end")
            ++at;
        return at;
    }
    while (at < lines.size() && !text::StartsWith(lines[at], ";the end"))
        ++at;
    return at;
}

// The rows found anew after lines came or went, as a read finds them. A record's row keeps its
// number through it (records go in and out at the end of their kind's), so the names the restore
// list read stay with their rows, and the kind shown stays shown.
void FindRowsAgain(std::vector<RecordView>& views, int& shown, const std::vector<std::string>& lines, FileKind kind)
{
    const RecordKind shownKind = views[static_cast<size_t>(shown)].kind;
    std::array<std::map<int, std::string>, kRecordKinds> names;
    for (RecordView& view : views)
        names[static_cast<size_t>(view.kind)] = std::move(view.namesRead);
    views = FindRecordViews(lines, kind);
    shown = 0;
    for (size_t i = 0; i < views.size(); ++i) {
        RecordView& view = views[i];
        view.namesRead = std::move(names[static_cast<size_t>(view.kind)]);
        view.namesRead.erase(view.namesRead.lower_bound(static_cast<int>(view.rows.size())), view.namesRead.end());
        if (view.kind == shownKind)
            shown = static_cast<int>(i);
    }
}

}  // namespace

int Document::LineOfRowIn(int view, int row) const
{
    if (view < 0 || view >= ViewCount())
        return -1;
    const std::vector<ViewRow>& rows = views_[static_cast<size_t>(view)].rows;
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)].line : -1;
}

bool Document::InsertRecords(const std::vector<RecordLines>& records)
{
    if (!open_)
        return false;
    for (const RecordLines& group : records) {
        if (!PlaceOf(views_, group.kind, lines_, IsIde()))
            return false;
        for (const std::string& line : group.lines)
            if (line.find_first_of("\r\n") != std::string::npos)
                return false;
    }
    TellResetting();
    const auto firstEnd = std::find_if(ends_.begin(), ends_.end(), [](LineEnd end) { return end != LineEnd::None; });
    const LineEnd end = firstEnd == ends_.end() ? LineEnd::CrLf : *firstEnd;
    for (const RecordLines& group : records) {
        if (group.lines.empty())
            continue;
        const size_t at = *PlaceOf(views_, group.kind, lines_, IsIde());
        const auto where = static_cast<std::ptrdiff_t>(at);
        lines_.insert(lines_.begin() + where, group.lines.begin(), group.lines.end());
        ends_.insert(ends_.begin() + where, group.lines.size(), end);
        // After a last line without an end, that line takes one and the last line put in has none.
        if (at == lines_.size() - group.lines.size() && at > 0 && ends_[at - 1] == LineEnd::None) {
            ends_[at - 1] = end;
            ends_.back() = LineEnd::None;
        }
        FindRowsAgain(views_, view_, lines_, kind_);
    }
    ViewChanged();
    modified_ = true;
    TellReset();
    return true;
}

bool Document::RemoveRecords(const std::vector<RecordLines>& records)
{
    // Each kind's lines are the last records of its view, one after the other, as they went in.
    std::vector<std::pair<size_t, size_t>> blocks;
    for (const RecordLines& group : records) {
        if (group.lines.empty())
            continue;
        const auto view = std::find_if(views_.begin(), views_.end(), [&](const RecordView& v) { return v.kind == group.kind; });
        if (view == views_.end() || view->rows.size() < group.lines.size())
            return false;
        const size_t first = view->rows.size() - group.lines.size();
        const size_t at = static_cast<size_t>(view->rows[first].line);
        for (size_t i = 0; i < group.lines.size(); ++i) {
            const ViewRow& row = view->rows[first + i];
            if (row.kind != RowKind::Vehicle || static_cast<size_t>(row.line) != at + i || lines_[at + i] != group.lines[i])
                return false;
        }
        blocks.emplace_back(at, group.lines.size());
    }
    TellResetting();
    // The last block first, so that the places of those before it hold.
    std::sort(blocks.rbegin(), blocks.rend());
    for (const auto& [at, count] : blocks) {
        const bool last = at + count == lines_.size();
        if (last && at > 0 && ends_.back() == LineEnd::None)
            ends_[at - 1] = LineEnd::None;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at), lines_.begin() + static_cast<std::ptrdiff_t>(at + count));
        ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(at), ends_.begin() + static_cast<std::ptrdiff_t>(at + count));
    }
    FindRowsAgain(views_, view_, lines_, kind_);
    ViewChanged();
    modified_ = true;
    TellReset();
    return true;
}

}  // namespace revlane
