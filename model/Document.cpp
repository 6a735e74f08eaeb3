#include "Document.h"

#include <algorithm>

#include "Catalogue.h"
#include "ErrorReport.h"
#include "FieldRules.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// A comment line: its first character past any blanks is the file's comment mark. The game
// skips an indented comment too; taken for a vehicle, an edit would rebuild it as a line that
// starts with the mark, and the value typed would vanish into the comment.
bool IsComment(std::string_view line, char mark)
{
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == mark;
}

}  // namespace

Document::Document(const Installation& install, Ports ports, std::string appVersion)
    : install_(install), ports_(ports), appVersion_(std::move(appVersion))
{
}

Document::~Document()
{
    for (DocumentListener* listener : listeners_)
        listener->heard_ = nullptr;
}

DocumentListener::~DocumentListener()
{
    if (heard_)
        heard_->StopListening(*this);
}

const std::filesystem::path& Document::Path() const
{
    return IsIde() ? install_.DefaultFile : install_.HandlingFile;
}

bool Document::IsVehicleRow(int row) const
{
    return row >= 0 && row < RowCount() && rows_[static_cast<size_t>(row)].kind == RowKind::Vehicle;
}

int Document::LineOfRow(int row) const
{
    return row >= 0 && row < RowCount() ? rows_[static_cast<size_t>(row)].line : -1;
}

bool Document::Open(FileKind kind, Game game)
{
    const auto& path = kind == FileKind::DefaultIde ? install_.DefaultFile : install_.HandlingFile;
    if (!ports_.files.Exists(path)) {
        ports_.messages.ShowMessage("The file " + text::PathText(path) + " was not found.", MsgButtons::OK,
                                    MsgIcon::Critical);
        return false;
    }
    ContinueOnError run("ReadFile", ports_.errors);
    TellResetting();
    kind_ = kind;
    game_ = game;
    geometry_ = GeometryFor(kind, game);
    ReadFile(run);
    TellReset();
    // The report waits until every view shows the file as it now is.
    run.Finish();
    return open_;
}

void Document::Read()
{
    ContinueOnError run("ReadFile", ports_.errors);
    TellResetting();
    ReadFile(run);
    TellReset();
    run.Finish();
}

void Document::ReadFile(ContinueOnError& run)
{
    ForgetRows();
    // Taken before the read: a change made while it runs then shows as one.
    const FileStamp stamp = ports_.files.Stamp(Path());
    // The new lines take the old ones' places, and their room where it is enough.
    if (!run.Step([&] { ports_.files.ReadLines(Path(), lines_, ends_); })) {
        // Without the file's bytes there is nothing to show, and an empty table must never
        // reach Save: it would write the header alone over the file.
        lines_.clear();
        ends_.clear();
        return;
    }
    open_ = true;
    RememberDisk(stamp);
    ReadSection();
}

void Document::ReadSection()
{
    const bool ide = IsIde();
    const std::string_view marker = !ide ? "LANDSTAL" : game_ == Game::Gta3 ? "90," : "130";
    const auto vehicle = [&](size_t i) {
        const std::string& line = lines_[i];
        // A comment is kept as it is; the game skips it, and a rebuild would make a vehicle of it.
        if (IsComment(line, ide ? '#' : ';') && !text::StartsWith(line, ";-")) {
            rows_.push_back({static_cast<int>(i), RowKind::Comment});
            return;
        }
        // A default.ide line without a comma names no model to restore.
        if (!ide || line.find(',') != std::string::npos)
            vehicleRows_.push_back(RowCount());
        rows_.push_back({static_cast<int>(i), RowKind::Vehicle});
    };
    bool found = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        // Only the first marker starts the section: a later line with the same start is one
        // more vehicle, and moving the section's start would shift every row onto a wrong line.
        if (!found && text::StartsWith(line, marker)) {
            found = true;
            firstVehicleLine_ = static_cast<int>(i);
        }
        if (!found)
            continue;
        const bool end = ide ? (line == "end" || text::IsBlank(line)) : (line == ";" || text::StartsWith(line, "; A"));
        if (end)
            break;
        if (!ide && text::StartsWith(line, ";-")) {
            rows_.push_back({static_cast<int>(i), RowKind::Title});
            // The line after a title is always one of the section, whatever it says.
            if (++i >= lines_.size())
                break;
        }
        vehicle(i);
    }
}

void Document::Close()
{
    TellResetting();
    ForgetRows();
    TellReset();
}

void Document::ForgetRows()
{
    rows_.clear();
    vehicleRows_.clear();
    namesRead_.clear();
    for (SplitRow& split : split_)
        split.row = -1;
    open_ = false;
    modified_ = false;
}

void Document::Listen(DocumentListener& listener) const
{
    listeners_.push_back(&listener);
    listener.heard_ = this;
}

void Document::StopListening(DocumentListener& listener) const
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

void Document::TellResetting() const
{
    for (DocumentListener* listener : listeners_)
        listener->DocumentResetting();
}

void Document::TellReset() const
{
    for (DocumentListener* listener : listeners_)
        listener->DocumentReset();
}

void Document::TellRowsChanged(int first, int last) const
{
    for (DocumentListener* listener : listeners_)
        listener->RowsChanged(first, last);
}

const std::vector<std::string>& Document::Fields(int row) const
{
    SplitRow& split = split_[static_cast<size_t>(row) % split_.size()];
    if (split.row != row) {
        const std::string& line = LineAt(row);
        if (KindOf(row) == RowKind::Title)
            split.fields.assign(1, line.substr(2));
        else if (KindOf(row) == RowKind::Comment)
            split.fields.assign(1, line);
        else
            split.fields = IsIde() ? SplitDefaultFields(line) : SplitHandlingFields(line);
        split.row = row;
    }
    return split.fields;
}

const std::string& Document::Cell(int row, int col) const
{
    static const std::string none;
    const std::vector<std::string>& fields = Fields(row);
    return col >= 0 && col < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(col)] : none;
}

std::string_view Document::Key(int row) const
{
    const std::string& line = LineAt(row);
    return IsIde() ? DefaultIdeKeyOf(line) : HandlingIdentifierOf(line);
}

std::string Document::RestoreEntry(int index) const
{
    const int row = vehicleRows_.at(static_cast<size_t>(index));
    if (const auto read = namesRead_.find(row); read != namesRead_.end())
        return read->second;
    return IsIde() ? Cell(row, 1) : std::string(Key(row));
}

std::string Document::BuildLine(const std::vector<std::string>& fields) const
{
    return IsIde() ? BuildDefaultLine(fields, Columns()) : BuildHandlingLine(fields, Columns());
}

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
        || value.find('.') != std::string_view::npos || !HoldsNumbers(kind_, game_, col))
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
        changes.push_back({row, LineAt(row), BuildLine(fields)});
        SetLine(row, changes.back().after);
    });
    // PutValues goes through the rows in order.
    if (!changes.empty())
        TellRowsChanged(changes.front().row, changes.back().row);
    return changes;
}

int Document::FindVehicle(std::string_view text, int from, bool forward) const
{
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    const int count = RowCount();
    for (int step = 1; step <= count; ++step) {
        const int row = ((from + (forward ? step : -step)) % count + count) % count;
        if (!IsVehicleRow(row))
            continue;
        const std::string name = IsIde() ? Cell(row, 1) : std::string(Key(row));
        if (name.size() >= text.size()
            && std::equal(text.begin(), text.end(), name.begin(), [&](char a, char b) { return lower(a) == lower(b); }))
            return row;
    }
    return -1;
}

std::optional<LineChange> Document::ReplaceLine(int row, std::string line)
{
    // A line end inside would split the line in two when the file is saved.
    if (!IsVehicleRow(row) || line.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    LineChange change{row, LineAt(row), std::move(line)};
    SetLine(row, change.after);
    TellRowsChanged(row, row);
    return change;
}

void Document::Undo(const std::vector<LineChange>& changes)
{
    int first = RowCount(), last = -1;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (!IsVehicleRow(change->row))
            continue;
        SetLine(change->row, change->before);
        first = std::min(first, change->row);
        last = std::max(last, change->row);
    }
    if (last >= 0)
        TellRowsChanged(first, last);
}

void Document::Redo(const std::vector<LineChange>& changes)
{
    int first = RowCount(), last = -1;
    for (const LineChange& change : changes) {
        if (!IsVehicleRow(change.row))
            continue;
        SetLine(change.row, change.after);
        first = std::min(first, change.row);
        last = std::max(last, change.row);
    }
    if (last >= 0)
        TellRowsChanged(first, last);
}

void Document::SetLine(int row, std::string line)
{
    // The restore list keeps the names read; a vehicle changed keeps its first one there.
    if (!namesRead_.count(row) && std::binary_search(vehicleRows_.begin(), vehicleRows_.end(), row))
        namesRead_[row] = IsIde() ? Cell(row, 1) : std::string(Key(row));
    lines_[static_cast<size_t>(LineOfRow(row))] = std::move(line);
    SplitRow& split = split_[static_cast<size_t>(row) % split_.size()];
    if (split.row == row)
        split.row = -1;
    modified_ = true;
}

}  // namespace revlane
