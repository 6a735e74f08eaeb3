#include "Document.h"

#include <algorithm>

#include "ErrorReport.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

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
    return IsVehicleRowOf(view_, row);
}

bool Document::IsVehicleRowOf(int view, int row) const
{
    if (view < 0 || view >= ViewCount())
        return false;
    const std::vector<ViewRow>& rows = views_[static_cast<size_t>(view)].rows;
    return row >= 0 && row < static_cast<int>(rows.size()) && rows[static_cast<size_t>(row)].kind == RowKind::Vehicle;
}

int Document::LineOfRow(int row) const
{
    return row >= 0 && row < RowCount() ? Rows()[static_cast<size_t>(row)].line : -1;
}

int Document::FirstVehicleLine() const
{
    return views_.front().rows.empty() ? 0 : views_.front().rows.front().line;
}

void Document::ShowView(int view)
{
    if (view < 0 || view >= ViewCount() || view == view_)
        return;
    TellResetting();
    view_ = view;
    ViewChanged();
    TellReset();
}

void Document::ViewChanged()
{
    geometry_ = GeometryFor(kind_, game_, Record());
    for (SplitRow& split : split_)
        split.row = -1;
}

std::optional<std::pair<int, int>> Document::FindRecord(RecordKind kind, std::string_view identifier) const
{
    for (int view = 0; view < ViewCount(); ++view) {
        if (ViewKind(view) != kind)
            continue;
        // A vehicle's line begins with its identifier, mostly at its first byte: the others are
        // passed over there, which a file of a million lines asks at every key typed.
        const bool atFirstByte = !IsIde() && kind == RecordKind::Vehicle && !identifier.empty();
        const std::vector<ViewRow>& rows = views_[static_cast<size_t>(view)].rows;
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            const ViewRow& at = rows[static_cast<size_t>(row)];
            const std::string& line = lines_[static_cast<size_t>(at.line)];
            if (atFirstByte && !line.empty() && line[0] != identifier[0] && !IsFieldGap(line[0]))
                continue;
            if (at.kind == RowKind::Vehicle && KeyIs(line, identifier))
                return std::pair(view, row);
        }
    }
    return std::nullopt;
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
    byteOrderMark_ = text::TakeByteOrderMark(lines_);
    RememberDisk(stamp);
    views_ = FindRecordViews(lines_, kind_);
}

void Document::Close()
{
    TellResetting();
    ForgetRows();
    TellReset();
}

void Document::ForgetRows()
{
    ++reads_;
    views_.assign(1, RecordView{});
    view_ = 0;
    geometry_ = GeometryFor(kind_, game_);
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
        else if (IsIde())
            split.fields = SplitDefaultFields(line);
        else
            split.fields = Record() == RecordKind::Vehicle ? SplitHandlingFields(line) : SplitRecordFields(line);
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

std::string_view Document::KeyOf(std::string_view line) const
{
    if (IsIde())
        return DefaultIdeKeyOf(line);
    return RecordKindOf(line) == RecordKind::Vehicle ? HandlingIdentifierOf(line) : RecordIdentifierOf(line);
}

bool Document::KeyIs(std::string_view line, std::string_view key) const
{
    if (IsIde() || RecordKindOf(line) != RecordKind::Vehicle)
        return KeyOf(line) == key;
    // Told at the first byte that differs: most lines are another vehicle's.
    size_t at = 0;
    while (at < line.size() && IsFieldGap(line[at]))
        ++at;
    const size_t after = at + key.size();
    return line.substr(at).starts_with(key) && (after == line.size() || IsFieldGap(line[after]));
}

std::string Document::RestoreEntry(int index) const
{
    const RecordView& view = views_[static_cast<size_t>(view_)];
    const int row = view.vehicleRows.at(static_cast<size_t>(index));
    if (const auto read = view.namesRead.find(row); read != view.namesRead.end())
        return read->second;
    return IsIde() ? Cell(row, 1) : std::string(Key(row));
}

void Document::BuildLine(const std::vector<std::string_view>& fields, std::string& out) const
{
    if (IsIde())
        BuildDefaultLine(fields, Columns(), out);
    else if (Record() == RecordKind::Vehicle)
        BuildHandlingLine(fields, Columns(), out);
    else
        BuildRecordLine(RecordMarker(Record()), fields, out);
}

void Document::SplitViews(std::string_view line, FieldViews& out) const
{
    if (IsIde())
        SplitDefaultViews(line, out);
    else if (Record() == RecordKind::Vehicle)
        SplitHandlingViews(line, out);
    else
        SplitRecordViews(line, out);
}

std::string_view Document::CellView(int row, int col) const
{
    if (!IsVehicleRow(row) || col < 0)
        return Cell(row, col);
    const std::string& line = LineAt(row);
    if (!IsIde())
        return Record() == RecordKind::Vehicle ? HandlingFieldAt(line, static_cast<size_t>(col))
                                               : HandlingFieldAt(std::string_view(line).substr(std::min<size_t>(1, line.size())), static_cast<size_t>(col));
    SplitDefaultViews(line, cellSplit_);
    return static_cast<size_t>(col) < cellSplit_.fields.size() ? cellSplit_.fields[static_cast<size_t>(col)] : std::string_view();
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

}  // namespace revlane
