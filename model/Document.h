#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "Installation.h"
#include "LineSplit.h"
#include "Ports.h"
#include "RecordViews.h"
#include "Views.h"

namespace revlane {

// A value for one cell.
struct CellEdit {
    int row;
    int col;
    std::string value;
};

// One change of a row's line: the text the line does not have now, which undoing or making the
// change again puts back byte for byte (the two change places), in whichever view is shown.
struct LineChange {
    LineChange() = default;
    LineChange(int row, std::string text, int view = 0) : text(std::move(text)), row(row), view(view) {}
    // The text first: the two numbers share a word, and a whole column's history is a million of these.
    std::string text;
    int row = -1;
    int view = 0;
};

// Whole record lines of one kind, as another file has them: its vehicles, taken over.
struct RecordLines {
    RecordKind kind = RecordKind::Vehicle;
    std::vector<std::string> lines;
};

// What a save did.
struct SaveResult {
    bool saved = false;       // the file on the disk holds the line table now
    bool backupMade = false;  // the first save's backup was made, whether the save went on or not
    explicit operator bool() const { return saved; }
};

class Document;

// Who hears of the document's changes: the views of it, in the order they began to listen.
// Whichever of the two goes first, the other forgets it.
class DocumentListener {
public:
    // Before and after a read, an open or a close, which may change every row and column.
    virtual void DocumentResetting() {}
    virtual void DocumentReset() {}
    // After the lines of rows from `first` to `last` (some of them, at least) changed.
    virtual void RowsChanged(int first, int last) = 0;

protected:
    DocumentListener() = default;
    DocumentListener(const DocumentListener&) = delete;
    DocumentListener& operator=(const DocumentListener&) = delete;
    ~DocumentListener();

private:
    friend class Document;
    const Document* heard_ = nullptr;
};

// The open configuration file: every line of it, and its records as rows, one view of them per
// kind of record; the row-based operations work on the view shown. It is the only writer of
// both: editing a value, replacing a vehicle's line (express import, restore), undoing and
// redoing are its operations, and each returns what it changed and tells its listeners. A row's
// values are split from its line when they are asked for; the line table is the one copy of the
// text.
class Document {
public:
    struct Ports {
        MessagePort& messages;
        InternalErrorPort& errors;
        ClockPort& clock;
        FileSystem& files;
    };

    // The open file is the chosen installation's file of the open kind: a file stays open when
    // the installation moves, and is then saved into the new one.
    Document(const Installation& install, Ports ports, std::string appVersion = REVLANE_VERSION);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Opens the file of a kind for a game: when it exists, reads it; otherwise says so and changes
    // nothing. Returns whether the file was read and is open now.
    bool Open(FileKind kind, Game game);
    // Reads the open kind's file again: the line table, the rows and the restore list.
    void Read();
    // Writes the line table over the open file, keeping the first original as a backup; a failed
    // save leaves the file marked changed. It asks nothing: whoever saves asks first whether
    // ChangedOnDisk() may be written over.
    SaveResult Save();
    // Another program changed the file (or put another in its place, or took it away) since it
    // was read or last saved.
    bool ChangedOnDisk();
    // Forgets the rows; the line table stays until the next read replaces it.
    void Close();

    // Tells the listener of every change from now on, after those listening already, until it goes.
    void Listen(DocumentListener& listener) const;

    // The views of the open file, one per kind of record it holds, the vehicles' first.
    int ViewCount() const { return static_cast<int>(views_.size()); }
    RecordKind ViewKind(int view) const { return views_.at(static_cast<size_t>(view)).kind; }
    // How many records a view shows.
    int RecordCount(int view) const { return static_cast<int>(views_.at(static_cast<size_t>(view)).vehicleRows.size()); }
    int CurrentView() const { return view_; }
    RecordKind Record() const { return views_[static_cast<size_t>(view_)].kind; }
    // Shows another view: every row and column anew, as a read does.
    void ShowView(int view);
    // The view and the row of a kind's first record of an identifier; none for none.
    std::optional<std::pair<int, int>> FindRecord(RecordKind kind, std::string_view identifier) const;

    FileKind Kind() const { return kind_; }
    // default.ide is open, not handling.cfg.
    bool IsIde() const { return kind_ == FileKind::DefaultIde; }
    Game GameOf() const { return game_; }
    const ViewGeometry& Geometry() const { return geometry_; }
    int Columns() const { return geometry_.cols; }
    const std::filesystem::path& Path() const;
    // A file was read whole and is shown; only then is there a line table that may be saved.
    bool IsOpen() const { return open_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    const std::vector<std::string>& Lines() const { return lines_; }
    // How a line of the table ends: as it was read, or, put in, as the file's lines do.
    LineEnd EndOf(size_t line) const { return line < ends_.size() ? ends_[line] : LineEnd::CrLf; }
    // The file begins with a UTF-8 byte-order mark, which a save keeps as its first bytes.
    bool HasByteOrderMark() const { return byteOrderMark_; }
    // How many times a file was read or closed: showing another view leaves the count as it is.
    unsigned Reads() const { return reads_; }
    // The rows of a view, each with its line, in file order.
    const std::vector<ViewRow>& RowsOf(int view) const { return views_.at(static_cast<size_t>(view)).rows; }
    // The line of the first row of the vehicles.
    int FirstVehicleLine() const;
    int RowCount() const { return static_cast<int>(Rows().size()); }
    RowKind KindOf(int row) const { return Rows().at(static_cast<size_t>(row)).kind; }
    bool IsVehicleRow(int row) const;
    bool IsVehicleRowOf(int view, int row) const;
    // The line a row shows, and its index in the line table; -1 for a row that shows none.
    int LineOfRow(int row) const;
    // The same of any view's row.
    int LineOfRowIn(int view, int row) const;
    const std::string& LineAt(int row) const { return lines_.at(static_cast<size_t>(LineOfRow(row))); }
    // A row's values as its cells show them, every one of its line's; a title's text alone, a
    // comment's whole line. Valid until the next call.
    const std::vector<std::string>& Fields(int row) const;
    // One cell of a row; empty past the line's last value.
    const std::string& Cell(int row, int col) const;
    // The text of a vehicle row's key as its line writes it: the model id before the first
    // comma, or the identifier; quick to find, for looking vehicles up.
    std::string_view Key(int row) const { return KeyOf(LineAt(row)); }
    std::string_view KeyOf(std::string_view line) const;
    bool KeyIs(std::string_view line, std::string_view key) const;

    // The vehicles offered for restoring, in file order, under the names read: the model name in
    // default.ide, the identifier in handling.cfg.
    int RestoreCount() const { return RecordCount(view_); }
    std::string RestoreEntry(int index) const;

    // Why the values cannot all go into their cells, in a sentence for the user: the first value
    // refused; empty where they can. Values for rows that show no vehicle, or past the last
    // column, are not refused: they are left out.
    std::string Refusal(const std::vector<CellEdit>& edits) const;
    // A number written with a decimal comma ("0,85", as a spreadsheet set to one copies it) where
    // the column holds numbers, with a point: the game would read it as 0. Any other value as it is.
    std::string WithDecimalPoint(int col, std::string_view value) const;
    std::optional<std::string> DecimalPointFor(int col, std::string_view value) const;
    // How many of the values would go in with a decimal comma turned into a point.
    int DecimalCommas(const std::vector<CellEdit>& edits) const;
    // Writes a value into a vehicle's cell (not its key) and rebuilds the row's line in our own
    // layout. Refuses a row that shows no vehicle, and a value that Refusal names.
    std::optional<LineChange> EditCell(int row, int col, std::string_view value);
    // The same for many cells, each row's line rebuilt once; the cells EditCell would refuse are
    // left as they are. Returns the lines changed, by row.
    std::vector<LineChange> EditCells(const std::vector<CellEdit>& edits);
    // The first vehicle after a row (before it, going back), round the end, whose name (its
    // identifier, or its model name) begins with the text, in any case; -1 for none.
    int FindVehicle(std::string_view text, int from, bool forward) const;
    // Replaces a vehicle row's whole line, as express import and restore do, in the view shown or
    // the one given; refuses other rows.
    std::optional<LineChange> ReplaceLine(int row, std::string line, int view = -1);
    // Puts each kind's lines in after the file's last record of that kind (where it holds none of
    // it, after its last record, or before its records' end), each ending as the file's first
    // line does, and finds the rows anew; the listeners hear a reset, and the kind shown stays
    // shown. Refuses a line with a line end in it, and a default.ide without a cars section.
    bool InsertRecords(const std::vector<RecordLines>& records);
    // Takes out again what InsertRecords put in, where its kinds' last records are still those
    // lines; otherwise refuses, and nothing changes.
    bool RemoveRecords(const std::vector<RecordLines>& records);
    // Puts the lines of changes back as they were before them (the last first), or makes them
    // again: each change's text and its row's line change places.
    void Undo(std::vector<LineChange>& changes);
    void Redo(std::vector<LineChange>& changes);

    // The line a row's values make in our own layout, in the view shown.
    void BuildLine(const std::vector<std::string_view>& fields, std::string& out) const;
    // A cell's value without a string made for it; valid until the next call, or a change of the line.
    std::string_view CellView(int row, int col) const;
    // The comment written as the first line of a saved file.
    std::string HeaderLine();
    // How many bytes a save with this header adds to the file (below 0: takes from it): the header
    // in place of the file's first comment line or above it, in handling.cfg a lone ";" second.
    long long SaveGrowth(std::string_view header) const;
    // Whether a save's header (or handling.cfg's ";" line) takes a line's place: a comment of the
    // file's own, but not handling.cfg's ";the end", where the game stops reading.
    static bool HeaderTakes(std::string_view line, FileKind kind);

    // The copy the first save keeps of the file as it was.
    static std::filesystem::path BackupPathFor(const std::filesystem::path& path);

private:
    const std::vector<ViewRow>& Rows() const { return views_[static_cast<size_t>(view_)].rows; }
    // The view shown, or its rows, changed: its columns are taken anew and no row's split is kept.
    void ViewChanged();
    // Swaps a view's row's line and the text; the first time a change is made, keeps the name the
    // restore list read for the row where the change renames it.
    void SwapLine(int view, int row, std::string& text, bool first);
    template <class Changes>
    void SwapBack(Changes begin, Changes end);
    // The name the restore list shows for a line: its model name, or its identifier.
    std::string NameOf(std::string_view line) const;
    // A vehicle row's line split as the view shown splits it.
    void SplitViews(std::string_view line, FieldViews& out) const;
    // Reads the file into the line table and the views; the caller tells the listeners.
    void ReadFile(class ContinueOnError& run);
    void ForgetRows();
    void TellResetting() const;
    void TellReset() const;
    void TellRowsChanged(int first, int last) const;
    friend class DocumentListener;
    void StopListening(DocumentListener& listener) const;
    // Puts the values into their rows' fields, by row and column, and hands on each row that took
    // one; a value its cell cannot take is left out. Returns why the first of those was refused.
    using RowValues = std::function<void(int row, const std::vector<std::string_view>& fields)>;
    std::string PutValues(const std::vector<CellEdit>& edits, const RowValues& changed) const;
    void SaveSteps(class ContinueOnError& run, bool& backupMade);
    void PutCommentLine(size_t index, const std::string& text);
    void MakeBackup(const std::filesystem::path& path, const std::filesystem::path& backup);
    // The file as it was read or last saved, for telling whether another program changed it since.
    void RememberDisk(const FileStamp& stamp);
    bool ChangedSince(const FileStamp& now);

    const Installation& install_;
    Ports ports_;
    std::string appVersion_;

    FileKind kind_ = FileKind::DefaultIde;
    Game game_ = Game::Gta3;
    ViewGeometry geometry_ = GeometryFor(FileKind::DefaultIde, Game::Gta3);  // the view shown's
    std::vector<std::string> lines_;
    // How each line ends: as read, and for a line put in, as the file's first one does.
    std::vector<LineEnd> ends_;
    std::vector<RecordView> views_ = std::vector<RecordView>(1);
    int view_ = 0;  // the view shown
    bool open_ = false;
    bool modified_ = false;
    // The file begins with a UTF-8 byte-order mark, kept apart from its first line.
    bool byteOrderMark_ = false;
    unsigned reads_ = 0;
    FileStamp disk_;
    std::optional<size_t> diskHash_;

    // The rows split last, by row number modulo the size: painting asks for a row's cells one
    // by one, and a row's line is split once for all of them.
    struct SplitRow {
        int row = -1;
        std::vector<std::string> fields;
    };
    mutable std::array<SplitRow, 64> split_;
    mutable FieldViews cellSplit_;  // for CellView
    mutable std::vector<DocumentListener*> listeners_;
};

}  // namespace revlane
