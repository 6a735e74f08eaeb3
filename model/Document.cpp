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
    geometry_ = GeometryFor(kind_, game_, Record());
    for (SplitRow& split : split_)
        split.row = -1;
    TellReset();
}

std::optional<std::pair<int, int>> Document::FindRecord(RecordKind kind, std::string_view identifier) const
{
    for (int view = 0; view < ViewCount(); ++view) {
        if (ViewKind(view) != kind)
            continue;
        const std::vector<ViewRow>& rows = views_[static_cast<size_t>(view)].rows;
        for (int row = 0; row < static_cast<int>(rows.size()); ++row)
            if (rows[static_cast<size_t>(row)].kind == RowKind::Vehicle && KeyOf(lines_[static_cast<size_t>(rows[static_cast<size_t>(row)].line)]) == identifier)
                return std::pair(view, row);
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

std::string Document::RestoreEntry(int index) const
{
    const RecordView& view = views_[static_cast<size_t>(view_)];
    const int row = view.vehicleRows.at(static_cast<size_t>(index));
    if (const auto read = view.namesRead.find(row); read != view.namesRead.end())
        return read->second;
    return IsIde() ? Cell(row, 1) : std::string(Key(row));
}

std::string Document::BuildLine(const std::vector<std::string>& fields) const
{
    if (IsIde())
        return BuildDefaultLine(fields, Columns());
    return Record() == RecordKind::Vehicle ? BuildHandlingLine(fields, Columns()) : BuildRecordLine(RecordMarker(Record()), fields);
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
