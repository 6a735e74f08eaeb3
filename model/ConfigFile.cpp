#include "ConfigFile.h"

#include <algorithm>

#include "Catalogue.h"
#include "ErrorReport.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// A time stamp tells a change only where the change came after the stamp's resolution (two
// seconds on some file systems) had passed since the stamp's time; within it, the lines tell.
constexpr std::int64_t kStampResolution = 2'000'000'000;

}  // namespace

ConfigFile::ConfigFile(Grid& grid, const Installation& install, Ports ports, std::string appVersion)
    : grid_(grid), install_(install), ports_(ports), appVersion_(std::move(appVersion))
{
}

bool ConfigFile::IsTitleRow(int row) const
{
    return std::find(titleRows_.begin(), titleRows_.end(), row) != titleRows_.end();
}

bool ConfigFile::IsVehicleRow(int row) const
{
    return row >= FirstDataRow() && row < FirstDataRow() + filledRows_ && !IsTitleRow(row)
           && LineOfRow(row) >= 0;
}

int ConfigFile::LineOfRow(int row) const
{
    if (row < FirstDataRow() || row >= FirstDataRow() + filledRows_)
        return -1;
    const int index = firstVehicleLine_ + row - FirstDataRow();
    return index < LineCount() ? index : -1;
}

bool ConfigFile::SetVehicleLine(int row, std::string line)
{
    if (!IsVehicleRow(row))
        return false;
    lines_[static_cast<size_t>(LineOfRow(row))] = std::move(line);
    modified_ = true;
    return true;
}

ConfigFile::RowState ConfigFile::RowAt(int row) const
{
    RowState state;
    if (!IsVehicleRow(row))
        return state;
    state.line = lines_[static_cast<size_t>(LineOfRow(row))];
    for (int col = 0; col < grid_.Cols(); ++col)
        state.cells.push_back(grid_.TextMatrix(row, col));
    return state;
}

bool ConfigFile::PutRow(int row, const RowState& state)
{
    if (!IsVehicleRow(row) || static_cast<int>(state.cells.size()) != grid_.Cols())
        return false;
    lines_[static_cast<size_t>(LineOfRow(row))] = state.line;
    for (int col = 0; col < grid_.Cols(); ++col)
        grid_.SetTextMatrix(row, col, state.cells[static_cast<size_t>(col)]);
    return true;
}

bool ConfigFile::OpenView(FileKind kind, Game game, const CaptionTable& captions)
{
    const bool ide = kind == FileKind::DefaultIde;
    const auto& path = ide ? install_.DefaultFile : install_.HandlingFile;
    if (!ports_.files.Exists(path)) {
        ports_.messages.ShowMessage("The file " + text::PathText(path) + " was not found.", MsgButtons::OK,
                                    MsgIcon::Critical);
        return false;
    }
    // The grid's observer hears of the new shape and all the cells once, at the end.
    const Grid::Batch batch(grid_);
    const ViewGeometry geometry = GeometryFor(kind, game);
    if (ide)
        FirstVehicleId = game == Game::Gta3 ? "90," : "130";
    MaxVehicles = geometry.maxVehicles;
    PrepareGrid(grid_, geometry, false);
    for (int c = 0; c < geometry.cols; ++c) {
        if (ide) {
            grid_.FillCell(0, c, DefaultCaption(game, c));
            continue;
        }
        const auto header = captions.HandlingHeader(game, c);
        grid_.FillCell(0, c, header.letter);
        grid_.FillCell(1, c, header.name);
        grid_.FillCell(2, c, header.hint);
    }
    DefaultMode = ide;
    ReadFile();
    return open_;
}

void ConfigFile::ReadFile()
{
    ContinueOnError run("ReadFile", ports_.errors);
    const Grid::Batch batch(grid_);

    sectionFound_ = false;
    modified_ = false;
    titleRows_.clear();
    filledRows_ = 0;
    restoreEntries_.clear();
    open_ = false;

    const int firstRow = FirstDataRow();
    int row = firstRow;
    if (!DefaultMode)
        FirstVehicleId = "LANDSTAL";

    // Taken before the read: a change made while it runs then shows as one.
    const FileStamp stamp = ports_.files.Stamp(OpenPath());
    // The new lines take the old ones' places, and their room where it is enough.
    if (!run.Step([&] { ports_.files.ReadLines(OpenPath(), lines_); })) {
        // Without the file's bytes there is nothing to show, and an empty table must never
        // reach Save: it would write the header alone over the file.
        lines_.clear();
        CloseFile();
        grid_.SendPending();
        run.Finish();
        return;
    }
    open_ = true;
    RememberDisk(stamp);
    restoreEntries_.reserve(static_cast<size_t>(std::max(grid_.Rows() - firstRow, 0)));

    const auto capacityReached = [&] {
        if (row < grid_.Rows())
            return false;
        const std::string max = std::to_string(MaxVehicles);
        grid_.SendPending();
        run.Step([&] {
            ports_.messages.ShowMessage("More than " + max + " vehicles found in this file. Only the first " + max
                                            + " were loaded, but they won't be removed when saving.",
                                        MsgButtons::OK, MsgIcon::Information);
        });
        return true;
    };
    // The cells a row's line does not reach are emptied: the grid keeps the last read's cells.
    const auto splitInto = [&](size_t index) {
        int written = 0;
        run.Step([&] {
            written = DefaultMode ? SplitDefaultLine(lines_[index], row) : SplitHandlingLine(lines_[index], row);
        });
        grid_.EmptyCells(row, written);
        ++row;
    };

    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        // Only the first marker starts the section: a later line with the same start is one
        // more vehicle, and moving the section's start would shift every row onto a wrong line.
        if (!sectionFound_ && text::StartsWith(line, FirstVehicleId)) {
            sectionFound_ = true;
            firstVehicleLine_ = static_cast<int>(i);
        }
        if (!sectionFound_)
            continue;

        const bool end = DefaultMode ? (line == "end" || text::IsBlank(line))
                                     : (line == ";" || text::StartsWith(line, "; A"));
        if (end)
            break;
        if (capacityReached())
            break;

        if (!DefaultMode && text::StartsWith(line, ";-")) {
            run.Step([&] { grid_.SetTextMatrix(row, 0, line.substr(2)); });
            grid_.EmptyCells(row, 1);
            titleRows_.push_back(row);
            ++row;
            // The line after a title is always a vehicle, whatever it says.
            if (++i >= lines_.size() || capacityReached())
                break;
        }
        splitInto(i);
    }
    filledRows_ = row - firstRow;
    for (int r = row; r < grid_.Rows(); ++r)
        grid_.EmptyCells(r, 0);

    grid_.SetEnabled(true);
    // A report may come up next: the grid on the screen shows the file behind it.
    grid_.SendPending();
    run.Finish();
}

int ConfigFile::SplitDefaultLine(const std::string& line, int row)
{
    const int written = SplitDefaultFields(grid_, row, line);
    if (written > 1)
        restoreEntries_.push_back(grid_.TextMatrix(row, 1));
    return written;
}

int ConfigFile::SplitHandlingLine(const std::string& line, int row)
{
    int written = 0;
    restoreEntries_.push_back(SplitHandlingFields(grid_, row, line, &written));
    return written;
}

std::string ConfigFile::BuildLine(int row) const
{
    const int n = grid_.Cols();
    std::string line;
    if (DefaultMode) {
        for (int c = 0; c < n; ++c) {
            line += grid_.TextMatrix(row, c);
            if (c == n - 1)
                break;
            if (c == n - 2)
                line += ", ";
            else if (c == 1 || c == 2)
                line += ",\t\t";
            else
                line += ",\t";
        }
        return line;
    }
    // The games' own layout pads the identifier to 15 columns; a longer one still needs a gap,
    // or it would run into the first value.
    line = grid_.TextMatrix(row, 0);
    line.resize(std::max(line.size() + 1, kHandlingIdentifierWidth), ' ');
    for (int c = 1; c < n; ++c) {
        if (c == 30)
            line += "\t\t";
        line += grid_.TextMatrix(row, c);
        line += ' ';
    }
    return line;
}

void ConfigFile::UpdateLine()
{
    RebuildLine(grid_.Row());
}

bool ConfigFile::RebuildLine(int row)
{
    // The editor never opens on such rows; this keeps any other caller from writing a line
    // that lies outside the vehicle section, or one that the game would read wrong.
    if (!IsVehicleRow(row))
        return false;
    for (int col = 0; col < grid_.Cols(); ++col)
        if (CharacterNotAllowed(grid_.TextMatrix(row, col), DefaultMode))
            return false;
    ContinueOnError run("UpdateLine", ports_.errors);
    run.Step([&] { lines_[static_cast<size_t>(LineOfRow(row))] = BuildLine(row); });
    modified_ = true;
    run.Finish();
    return true;
}

bool ConfigFile::SetCell(int row, int col, const std::string& value)
{
    if (!IsVehicleRow(row) || col < 1 || col >= grid_.Cols() || CharacterNotAllowed(value, DefaultMode))
        return false;
    grid_.SetTextMatrix(row, col, value);
    return RebuildLine(row);
}

std::string ConfigFile::HeaderLine()
{
    std::string date = ports_.clock.LongDate();
    std::string time = ports_.clock.LongTime();
    return std::string(DefaultMode ? "#" : ";") + " Config file written by Revlane v" + appVersion_
           + " - Last modified on " + date + " " + time;
}

std::filesystem::path ConfigFile::TempPathFor(const std::filesystem::path& path)
{
    auto temp = path;
    temp += ".revlane-save";
    return temp;
}

std::filesystem::path ConfigFile::BackupPathFor(const std::filesystem::path& path)
{
    auto backup = path;
    backup += ".bak";
    return backup;
}

bool ConfigFile::SaveFile()
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
            "The file " + text::PathText(OpenPath())
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
            ports_.messages.ShowMessage("Backup copy created at: \r\n" + text::PathText(BackupPathFor(OpenPath()))
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
void ConfigFile::SaveSteps(ContinueOnError& run, bool& backupMade)
{
    std::string header;
    run.Step([&] { header = HeaderLine(); });
    PutCommentLine(0, header.empty() ? std::string(DefaultMode ? "#" : ";") : header);
    if (!DefaultMode && lines_.size() > 1)
        PutCommentLine(1, ";");

    const auto path = OpenPath();
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

void ConfigFile::RememberDisk(const FileStamp& stamp)
{
    disk_ = stamp;
    diskHash_.reset();
    if (stamp.takenAt - stamp.modified < kStampResolution)
        diskHash_ = text::HashLines(lines_);
}

bool ConfigFile::ChangedOnDisk()
{
    const FileStamp now = ports_.files.Stamp(OpenPath());
    if (now.exists != disk_.exists || now.size != disk_.size || now.modified != disk_.modified)
        return true;
    if (!diskHash_)
        return false;
    std::vector<std::string> lines;
    try {
        ports_.files.ReadLines(OpenPath(), lines);
    } catch (const std::exception&) {
        return true;  // what cannot be read cannot be told to be ours
    }
    return text::HashLines(lines) != *diskHash_;
}

// The header and handling.cfg's ";" line go over the file's own comment lines (or an earlier
// header); any other line keeps its place below them, since the game reads it.
void ConfigFile::PutCommentLine(size_t index, const std::string& text)
{
    const char* comment = DefaultMode ? "#" : ";";
    if (index < lines_.size() && text::StartsWith(lines_[index], comment)) {
        lines_[index] = text;
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(std::min(index, lines_.size())), text);
    if (static_cast<size_t>(firstVehicleLine_) >= index)
        ++firstVehicleLine_;
}

void ConfigFile::MakeBackup(const std::filesystem::path& path, const std::filesystem::path& backup)
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

void ConfigFile::CloseFile()
{
    const Grid::Batch batch(grid_);
    grid_.SetEnabled(false);
    modified_ = false;
    grid_.Clear();
    grid_.SetRows(0);
    grid_.SetCols(0);
    titleRows_.clear();
    filledRows_ = 0;
    restoreEntries_.clear();
    open_ = false;
}

}  // namespace revlane
