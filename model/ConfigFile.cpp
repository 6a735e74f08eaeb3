#include "ConfigFile.h"

#include <algorithm>

#include "Catalogue.h"
#include "ErrorReport.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

constexpr size_t kIdentifierWidth = 15;
constexpr const char* kTabExpansion = "     ";

}  // namespace

ConfigFile::ConfigFile(Grid& grid, Ports ports, std::string appVersion)
    : grid_(grid), ports_(ports), appVersion_(std::move(appVersion))
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

bool ConfigFile::OpenView(FileKind kind, Game game, const CaptionTable& captions)
{
    const bool ide = kind == FileKind::DefaultIde;
    const auto& path = ide ? DefaultFile : HandlingFile;
    if (!ports_.files.Exists(path)) {
        ports_.messages.ShowMessage("The file " + text::PathText(path) + " was not found.", MsgButtons::OK,
                                    MsgIcon::Critical);
        return false;
    }
    const ViewGeometry geometry = GeometryFor(kind, game);
    if (ide)
        FirstVehicleId = game == Game::Gta3 ? "90," : "130";
    MaxVehicles = geometry.maxVehicles;
    PrepareGrid(grid_, geometry);
    for (int c = 0; c < geometry.cols; ++c) {
        if (ide) {
            grid_.SetTextMatrix(0, c, DefaultCaption(game, c));
            continue;
        }
        const auto header = captions.HandlingHeader(game, c);
        grid_.SetTextMatrix(0, c, header.letter);
        grid_.SetTextMatrix(1, c, header.name);
        grid_.SetTextMatrix(2, c, header.hint);
    }
    DefaultMode = ide;
    ReadFile();
    return true;
}

void ConfigFile::ReadFile()
{
    ContinueOnError run("ReadFile", ports_.errors);

    sectionFound_ = false;
    modified_ = false;
    titleRows_.clear();
    lines_.clear();
    filledRows_ = 0;

    run.Step([&] { ports_.view.ClearRestoreList(); });
    run.Step([&] { ports_.view.SetImportText(std::string()); });
    run.Step([&] { ports_.view.ClearImport(); });

    const int firstRow = FirstDataRow();
    int row = firstRow;
    if (!DefaultMode)
        FirstVehicleId = "LANDSTAL";

    run.Step([&] { lines_ = text::SplitLines(ports_.files.ReadAll(OpenPath())); });

    int restoreEntries = 0;
    const auto capacityReached = [&] {
        if (row < grid_.Rows())
            return false;
        const std::string max = std::to_string(MaxVehicles);
        run.Step([&] {
            ports_.messages.ShowMessage("More than " + max + " vehicles found in this file. Only the first " + max
                                            + " were loaded, but they won't be removed when saving.",
                                        MsgButtons::OK, MsgIcon::Information);
        });
        return true;
    };
    const auto splitInto = [&](size_t index) {
        run.Step([&] {
            if (DefaultMode)
                SplitDefaultLine(lines_[index], row);
            else
                SplitHandlingLine(static_cast<int>(index), row);
            ++restoreEntries;
        });
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
            titleRows_.push_back(row);
            ++row;
            // The line after a title is always a vehicle, whatever it says.
            if (++i >= lines_.size() || capacityReached())
                break;
        }
        splitInto(i);
    }
    filledRows_ = row - firstRow;

    run.Step([&] {
        grid_.SetEnabled(true);
        ports_.view.SetFileControlsEnabled(true, restoreEntries > 2);
    });
    run.Finish();
}

void ConfigFile::SplitDefaultLine(const std::string& line, int row)
{
    if (SplitDefaultFields(grid_, row, line) > 1)
        ports_.view.AddRestoreEntry(grid_.TextMatrix(row, 1));
}

void ConfigFile::SplitHandlingLine(int index, int row)
{
    std::string& line = lines_[static_cast<size_t>(index)];
    // The stored line keeps the expansion: the identifier field is fixed-width, and a tab in
    // it counts as five characters both here and when the saved file is read again.
    line = text::ReplaceAll(line, "\t", kTabExpansion);
    ports_.view.AddRestoreEntry(SplitHandlingFields(grid_, row, line, kIdentifierWidth));
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
    std::string identifier = grid_.TextMatrix(row, 0).substr(0, kIdentifierWidth);
    identifier.resize(kIdentifierWidth, ' ');
    line = identifier;
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
    ContinueOnError run("UpdateLine", ports_.errors);
    const int row = grid_.Row();
    // The editor never opens on such rows; this keeps any other caller from writing a line
    // that lies outside the vehicle section.
    if (!IsVehicleRow(row))
        return;
    run.Step([&] { lines_[static_cast<size_t>(LineOfRow(row))] = BuildLine(row); });
    modified_ = true;
    run.Finish();
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
// the original takes the backup name just before. A crash or a full disk at any moment
// leaves the old or the new file whole, under its own name or as the backup.
void ConfigFile::SaveSteps(ContinueOnError& run, bool& backupMade)
{
    std::string header;
    run.Step([&] { header = HeaderLine(); });
    // The header takes the first line (and handling.cfg's second); where the vehicle section
    // starts there, the header lines go in before it rather than over a vehicle.
    const int headerLines = DefaultMode ? 1 : 2;
    if (sectionFound_ && filledRows_ > 0 && firstVehicleLine_ < headerLines) {
        const int insert = headerLines - firstVehicleLine_;
        lines_.insert(lines_.begin(), static_cast<size_t>(insert), std::string(";"));
        firstVehicleLine_ += insert;
    }
    if (lines_.empty())
        lines_.emplace_back();
    lines_[0] = header.empty() ? std::string(DefaultMode ? "#" : ";") : header;
    if (!DefaultMode && lines_.size() > 1)
        lines_[1] = ";";

    const auto path = OpenPath();
    const auto backup = BackupPathFor(path);
    const auto temp = TempPathFor(path);
    FileSystem& files = ports_.files;

    if (!run.Step([&] { files.WriteAll(temp, text::JoinLinesCrLf(lines_)); })) {
        files.Remove(temp);
        return;
    }
    if (!files.Exists(backup) && files.Exists(path)) {
        if (!run.Step([&] { files.Rename(path, backup); })) {
            files.Remove(temp);
            return;
        }
        backupMade = true;
    }
    if (!run.Step([&] { files.Rename(temp, path); })) {
        files.Remove(temp);
        if (backupMade) {
            // Put the original back under its own name; if even that fails it stays whole
            // as the backup, and the backup message says where.
            try {
                files.Rename(backup, path);
                backupMade = false;
            } catch (...) {
            }
        }
    }
}

void ConfigFile::CloseFile()
{
    grid_.SetEnabled(false);
    ports_.view.SetFileControlsEnabled(false, false);
    modified_ = false;
    ports_.view.SetImportText(std::string());
    grid_.Clear();
    ports_.view.ClearRestoreList();
    grid_.SetRows(0);
    grid_.SetCols(0);
    titleRows_.clear();
    filledRows_ = 0;
}

}  // namespace revlane
