#include "Document.h"

#include <algorithm>

#include "ErrorReport.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// How far apart two changes of a file must be for its time stamp to tell them apart. A time of
// whole seconds comes from a file system that keeps coarse times (two seconds on FAT): a change
// within them leaves the time as it was, and only the lines can tell. Finer times change with
// every write.
std::int64_t StampResolution(const FileStamp& stamp)
{
    constexpr std::int64_t kSecond = 1'000'000'000;
    return stamp.modified % kSecond == 0 ? 2 * kSecond : 0;
}

}  // namespace

Document::Document(const Installation& install, Ports ports, std::string appVersion)
    : install_(install), ports_(ports), appVersion_(std::move(appVersion))
{
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
    kind_ = kind;
    game_ = game;
    geometry_ = GeometryFor(kind, game);
    Read();
    return open_;
}

void Document::Read()
{
    ContinueOnError run("ReadFile", ports_.errors);
    Close();
    // Taken before the read: a change made while it runs then shows as one.
    const FileStamp stamp = ports_.files.Stamp(Path());
    // The new lines take the old ones' places, and their room where it is enough.
    if (!run.Step([&] { ports_.files.ReadLines(Path(), lines_); })) {
        // Without the file's bytes there is nothing to show, and an empty table must never
        // reach Save: it would write the header alone over the file.
        lines_.clear();
        run.Finish();
        return;
    }
    open_ = true;
    RememberDisk(stamp);
    ReadSection();
    run.Finish();
}

void Document::ReadSection()
{
    const bool ide = IsIde();
    const std::string_view marker = !ide ? "LANDSTAL" : game_ == Game::Gta3 ? "90," : "130";
    const auto vehicle = [&](size_t i) {
        const std::string& line = lines_[i];
        // A comment is kept as it is; the game skips it, and a rebuild would make a vehicle of it.
        if (text::StartsWith(line, ide ? "#" : ";") && !text::StartsWith(line, ";-")) {
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
    rows_.clear();
    vehicleRows_.clear();
    namesRead_.clear();
    for (SplitRow& split : split_)
        split.row = -1;
    open_ = false;
    modified_ = false;
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

std::optional<LineChange> Document::EditCell(int row, int col, std::string_view value)
{
    if (!IsVehicleRow(row) || col < 1 || col >= Columns() || CharacterNotAllowed(value, IsIde()))
        return std::nullopt;
    std::vector<std::string> fields = Fields(row);
    if (fields.size() <= static_cast<size_t>(col))
        fields.resize(static_cast<size_t>(col) + 1);
    fields[static_cast<size_t>(col)] = value;
    LineChange change{row, LineAt(row), BuildLine(fields)};
    SetLine(row, change.after);
    return change;
}

std::optional<LineChange> Document::ReplaceLine(int row, std::string line)
{
    // A line end inside would split the line in two when the file is saved.
    if (!IsVehicleRow(row) || line.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    LineChange change{row, LineAt(row), std::move(line)};
    SetLine(row, change.after);
    return change;
}

void Document::Undo(const LineChange& change)
{
    if (IsVehicleRow(change.row))
        SetLine(change.row, change.before);
}

void Document::Redo(const LineChange& change)
{
    if (IsVehicleRow(change.row))
        SetLine(change.row, change.after);
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

std::string Document::HeaderLine()
{
    std::string date = ports_.clock.LongDate();
    std::string time = ports_.clock.LongTime();
    return std::string(IsIde() ? "#" : ";") + " Config file written by Revlane v" + appVersion_
           + " - Last modified on " + date + " " + time;
}

std::filesystem::path Document::TempPathFor(const std::filesystem::path& path)
{
    auto temp = path;
    temp += ".revlane-save";
    return temp;
}

std::filesystem::path Document::BackupPathFor(const std::filesystem::path& path)
{
    auto backup = path;
    backup += ".bak";
    return backup;
}

bool Document::Save()
{
    ContinueOnError run("SaveFile", ports_.errors);
    if (!open_) {
        // Only a table read whole from the file may be written over it.
        run.Fail({errorcode::Internal, "No file was read whole, so nothing was saved"});
        run.Finish();
        return false;
    }
    if (ChangedOnDisk()) {
        const MsgAnswer answer = ports_.messages.ShowMessage(
            "The file " + text::PathText(Path())
                + " has been changed by another program since Revlane read it. Save your changes over it?",
            MsgButtons::YesNo, MsgIcon::Exclamation);
        if (answer != MsgAnswer::Yes) {
            run.Finish();
            return false;
        }
    }
    bool backupMade = false;
    SaveSteps(run, backupMade);
    if (backupMade) {
        run.Step([&] {
            ports_.messages.ShowMessage("Backup copy created at: \r\n" + text::PathText(BackupPathFor(Path()))
                                            + "\r\n\r\nA backup copy will be created only when it does not exists.",
                                        MsgButtons::OK, MsgIcon::Information);
        });
    }
    const bool saved = !run.Failed();
    // A failed save keeps the changes marked, so that leaving the file still asks about them.
    if (saved)
        modified_ = false;
    run.Finish();
    return saved;
}

// The file is never opened for writing in place: the whole table goes to a temporary file
// beside it, and only a complete one takes the file's name, in one rename. On the first save
// the backup is made before that, as a second name for the original or as a copy of it, so
// the file's own name holds a whole file at every moment, whenever the program dies.
void Document::SaveSteps(ContinueOnError& run, bool& backupMade)
{
    std::string header;
    run.Step([&] { header = HeaderLine(); });
    PutCommentLine(0, header.empty() ? std::string(IsIde() ? "#" : ";") : header);
    if (!IsIde() && lines_.size() > 1)
        PutCommentLine(1, ";");

    const auto path = Path();
    const auto backup = BackupPathFor(path);
    const auto temp = TempPathFor(path);
    FileSystem& files = ports_.files;

    if (!run.Step([&] { files.WriteLines(temp, lines_); })) {
        files.Remove(temp);
        return;
    }
    // The new file keeps its time and size when it takes the name.
    const FileStamp written = files.Stamp(temp);
    if (!files.Exists(backup) && files.Exists(path)) {
        if (!run.Step([&] { MakeBackup(path, backup); })) {
            files.Remove(temp);
            return;
        }
        backupMade = true;
    }
    // The original is still in place (and now also the backup) if this fails.
    if (!run.Step([&] { files.Rename(temp, path); }))
        files.Remove(temp);
    else
        RememberDisk(written);
}

void Document::RememberDisk(const FileStamp& stamp)
{
    disk_ = stamp;
    diskHash_.reset();
    if (stamp.takenAt - stamp.modified < StampResolution(stamp))
        diskHash_ = text::HashLines(lines_);
}

bool Document::ChangedOnDisk()
{
    const FileStamp now = ports_.files.Stamp(Path());
    if (now.exists != disk_.exists || now.size != disk_.size || now.modified != disk_.modified)
        return true;
    if (!diskHash_)
        return false;
    std::vector<std::string> lines;
    try {
        ports_.files.ReadLines(Path(), lines);
    } catch (const std::exception&) {
        return true;  // what cannot be read cannot be told to be ours
    }
    return text::HashLines(lines) != *diskHash_;
}

// The header and handling.cfg's ";" line go over the file's own comment lines (or an earlier
// header); any other line keeps its place below them, since the game reads it.
void Document::PutCommentLine(size_t index, const std::string& text)
{
    const char* comment = IsIde() ? "#" : ";";
    if (index < lines_.size() && text::StartsWith(lines_[index], comment)) {
        lines_[index] = text;
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(std::min(index, lines_.size())), text);
    // Every row keeps its own line, one further down now.
    if (static_cast<size_t>(firstVehicleLine_) >= index)
        ++firstVehicleLine_;
    for (Row& row : rows_)
        if (static_cast<size_t>(row.line) >= index)
            ++row.line;
}

void Document::MakeBackup(const std::filesystem::path& path, const std::filesystem::path& backup)
{
    FileSystem& files = ports_.files;
    try {
        files.HardLink(path, backup);
        return;
    } catch (const std::exception&) {
        // Some file systems have no links: copy instead, whole and flushed before it takes the name.
    }
    const auto temp = TempPathFor(backup);
    try {
        files.WriteAll(temp, files.ReadAll(path));
        files.Rename(temp, backup);
    } catch (...) {
        files.Remove(temp);
        throw;
    }
}

}  // namespace revlane
