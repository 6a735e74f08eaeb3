#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "Grid.h"
#include "Installation.h"
#include "Ports.h"
#include "Views.h"

namespace revlane {

// The open configuration file: every line of it in the line table, and its vehicle section
// split into the rows of the grid. Grid row r shows line FirstVehicleLine + r - the view's
// first data row; every change of a row goes to that line too, and saving writes the table.
class ConfigFile {
public:
    struct Ports {
        MessagePort& messages;
        InternalErrorPort& errors;
        ClockPort& clock;
        FileSystem& files;
    };

    // The open file is the chosen installation's file of the open kind: a file stays open when
    // the installation moves, and is then saved into the new one.
    ConfigFile(Grid& grid, const Installation& install, Ports ports, std::string appVersion = REVLANE_VERSION);

    // Set by the view before ReadFile runs.
    bool DefaultMode = true;
    std::string FirstVehicleId;  // "90," or "130" for default.ide; ReadFile sets "LANDSTAL"
    int MaxVehicles = 0;

    const std::filesystem::path& OpenPath() const { return DefaultMode ? install_.DefaultFile : install_.HandlingFile; }
    int FirstDataRow() const { return DefaultMode ? 1 : 3; }

    const std::vector<std::string>& FileLines() const { return lines_; }
    int LineCount() const { return static_cast<int>(lines_.size()); }
    bool SectionFound() const { return sectionFound_; }
    int FirstVehicleLine() const { return firstVehicleLine_; }
    // Grid rows of the handling.cfg section titles, in file order.
    const std::vector<int>& TitleRows() const { return titleRows_; }
    int TitleCount() const { return static_cast<int>(titleRows_.size()); }
    // Grid rows filled by the last read, section titles included.
    int FilledRows() const { return filledRows_; }

    // A file was read whole and is shown; only then is there a line table that may be saved.
    bool IsOpen() const { return open_; }
    // The vehicles the last read offered for restoring, in file order.
    const std::vector<std::string>& RestoreEntries() const { return restoreEntries_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    bool IsTitleRow(int row) const;
    // A row that shows a vehicle line read from the file: not a header, not a title, not
    // one of the empty rows below the last vehicle.
    bool IsVehicleRow(int row) const;
    // The line shown by a row; -1 for a row that shows none.
    int LineOfRow(int row) const;

    // Replaces the line of a vehicle row and marks the file changed. Rows that show no vehicle
    // line are refused (returns false), so no line outside the vehicle section is overwritten.
    bool SetVehicleLine(int row, std::string line);

    // Opens a view of the chosen file kind: when the file exists, gives the grid the view's shape
    // and headers and reads the file; otherwise says so and changes nothing. Returns whether the
    // file was read and is open now.
    bool OpenView(FileKind kind, Game game, const class CaptionTable& captions);

    // Reads the open file into the line table and its vehicle section into the prepared grid.
    // Afterwards IsOpen() and RestoreEntries() tell the window what to show.
    void ReadFile();
    // Rebuilds the line of the grid's current row from its cells, in our own layout.
    void UpdateLine();
    // The same for any row; refuses (false) a row that shows no vehicle line, or whose cells
    // hold a character the file cannot hold inside a value.
    bool RebuildLine(int row);
    // Writes a value into a vehicle's cell (not its key) and rebuilds its line; refuses (false)
    // a value the file cannot hold, and any row RebuildLine refuses.
    bool SetCell(int row, int col, const std::string& value);
    // Writes the line table over the open file, keeping the first original as a backup.
    // Returns whether every step succeeded; a failed save leaves the file marked changed.
    bool SaveFile();
    // Empties the view; the line table stays until the next read replaces it.
    void CloseFile();

    // A vehicle row as it stands, its line and its cells, to be put back later byte for byte.
    struct RowState {
        std::string line;
        std::vector<std::string> cells;
    };
    RowState RowAt(int row) const;
    // Puts a row's line and cells back as they were; refuses rows that show no vehicle line.
    bool PutRow(int row, const RowState& state);

    // The line a row's cells make, in our own layout for the open file's kind.
    std::string BuildLine(int row) const;
    // The comment written as the first line of a saved file.
    std::string HeaderLine();

    // The temporary file a save writes before it takes the open file's name.
    static std::filesystem::path TempPathFor(const std::filesystem::path& path);
    static std::filesystem::path BackupPathFor(const std::filesystem::path& path);

private:
    // Each returns how many of the row's cells, from column 0 on, the line filled.
    int SplitDefaultLine(const std::string& line, int row);
    int SplitHandlingLine(const std::string& line, int row);
    void SaveSteps(class ContinueOnError& run, bool& backupMade);
    void PutCommentLine(size_t index, const std::string& text);
    void MakeBackup(const std::filesystem::path& path, const std::filesystem::path& backup);
    // The file as it was read or last saved, for telling whether another program changed it since.
    void RememberDisk(const FileStamp& stamp);
    bool ChangedOnDisk();

    Grid& grid_;
    const Installation& install_;
    Ports ports_;
    std::string appVersion_;

    std::vector<std::string> lines_;
    bool sectionFound_ = false;
    int firstVehicleLine_ = 0;
    std::vector<int> titleRows_;
    int filledRows_ = 0;
    std::vector<std::string> restoreEntries_;
    bool open_ = false;
    bool modified_ = false;
    FileStamp disk_;
    std::optional<size_t> diskHash_;
};

}  // namespace revlane
