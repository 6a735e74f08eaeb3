#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Document.h"
#include "GameLines.h"
#include "StockLines.h"

namespace revlane {

// What the game would trip on in the open file, and in the other file of its installation where a
// rule joins them (a default.ide vehicle's handling identifier and handling.cfg's records): found
// when a file is read and after every change, before the modder starts the game. It reads the
// files and never changes a byte of them.
//
// A file is checked a slice of lines at a time (Advance), so that a very large one never holds
// the window up; until the last slice, the count is a floor. A change of rows is noted when the
// document tells it, its lines leave the count and are checked again with the next slice: typing
// never waits for the check. The findings of a cell are worked out from its line as it is now,
// when they are asked for.
class GameCheck : private DocumentListener {
public:
    // Listens to the document from now on, as long as it lives. The stock lines give the
    // vehicles each game knows; the installation and the files give the other file.
    GameCheck(const Document& document, const DefaultLines& stock, const Installation& install, FileSystem& files);

    // Checks up to `lines` lines: those changed since first, then more of the file; true once every
    // line is checked.
    bool Advance(int lines);
    // Checks up to `lines` of the lines changed since again, and no more of the file; true once all
    // the lines changed are checked again.
    bool Update(int lines = INT_MAX);
    // How many lines changed wait to be checked again.
    size_t ToCheckAgain() const;
    // Checks what is left at once.
    void Finish();
    bool Complete() const;
    // Whether it has begun: a read, and a save that moved every line, begin it anew.
    bool Started() const { return prepared_; }
    // After a save, whose header took the place of the first lines, or went in above them and
    // moved every line: then the check begins anew, with the next Advance.
    void Saved();

    // How many findings of lines and values: every one once Complete, a floor until then.
    long long Count() const { return count_; }
    // The findings of the whole file (its size, its end, what default.ide names), with their sentences.
    std::vector<Finding> FileFindings() const;
    // What the line above the grid says: the count and the whole file's findings; empty for none.
    std::string Summary() const;
    // Every finding of lines and values checked, in file order, with its sentence.
    std::vector<Finding> Findings() const;
    // The findings at a cell of the view shown, with their sentences.
    std::vector<Finding> At(int row, int col) const;

    // A cell of a view.
    struct Place {
        int view, row, col;
    };
    // The next cell with a finding after a cell (or before it), through the views in turn and round
    // the end; none where no line checked has any.
    std::optional<Place> Next(Place from, bool forward) const;

    // Why a save would give the game a handling.cfg it reads past its limits, as a question; empty
    // where it would not. `growth`: the bytes the save's header adds (Document::SaveGrowth).
    std::string SaveQuestion(long long growth);

private:
    void DocumentReset() override;
    void RowsChanged(int first, int last) override;
    void Restart();
    void Changed(size_t from, size_t to);
    // Checks up to `lines` of the lines changed again, counting them off; false where some are left.
    bool Recheck(int& lines);
    // The facts of every line that cost little: its length and role, the size, ";the end"; and
    // the other file's keys after a read.
    void Prepare();
    void ReadOtherFile();
    // Checks a line, or checks it again after a change; false where its key changed.
    bool CheckAt(size_t line, bool again);

    // A line's key for the rules that join lines: a record's kind and identifier, or a vehicle's
    // model id.
    struct Key {
        int kind = -1;  // none: -1
        std::string_view identifier;
        int modelId = 0;
    };
    // The findings that a line's text tells, and the other file of what it names; its key.
    Key Examine(size_t line, bool say, std::vector<Finding>& out) const;
    // The key's entry in the table of keys, looked up, or made for its first line.
    std::uint32_t KeyId(const Key& key) const;
    std::uint32_t AddKey(const Key& key, size_t line);
    // What the table of keys says of a line's key: a vehicle the game does not know, a key given
    // on a line before.
    void KeyFindings(size_t line, const Key& key, std::uint32_t id, bool say, std::vector<Finding>& out) const;
    // The cells of a line's findings, in order, without their sentences.
    std::vector<int> CellsOf(size_t line) const;
    // Takes the lengths of lines changed, and of those whose lengths were left for later.
    void Resize(size_t from, size_t to);
    void TakeLengths(size_t most = SIZE_MAX);
    // What it costs little to know of every line, found anew at each read.
    void PrepareLines();

    const Document& document_;
    const DefaultLines& stock_;
    const Installation& install_;
    FileSystem& files_;

    unsigned reads_ = ~0u;         // the document's read the check began on
    bool prepared_ = false;
    size_t next_ = 0;              // the next line the pass checks
    long long count_ = 0;
    unsigned long long bytes_ = 0;  // the file's size as the table holds it
    long long endLine_ = -1;        // handling.cfg's ";the end", where it has one
    bool endAtRead_ = false;        // the file had one when it was read
    unsigned endRead_ = ~0u;        // the read endAtRead_ is of
    long long longOutside_ = 0;     // lines the game reads, longer than it reads, that are no row
    // Lines changed since the last update, as ranges of lines.
    std::vector<std::pair<size_t, size_t>> changed_;
    // Ranges of many lines changed whose lengths are taken with the next slice, or before a save.
    std::vector<std::pair<size_t, size_t>> unsized_;
    unsigned version_ = 0;          // changes with every change of lines or findings

    // By line: its length, its role, its key's entry and how many findings it has.
    static constexpr std::uint8_t kNoRow = 0, kOtherRow = 1, kRecordRow = 2;  // a record: 2 + its kind
    static constexpr std::uint32_t kNoKey = UINT32_MAX;
    std::vector<std::uint32_t> lengths_;
    std::vector<std::uint8_t> roles_;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint8_t> counts_;

    struct KeyInfo {
        std::uint32_t first = 0;  // the first line that has it
        bool known = true;        // a vehicle the game knows
    };
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    using Names = std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>>;
    std::array<Names, kRecordKinds> identifiers_;  // handling.cfg's, by kind of record
    std::unordered_map<int, std::uint32_t> modelIds_;  // default.ide's
    std::vector<KeyInfo> infos_;
    using NameSet = std::unordered_set<std::string, Hash, std::equal_to<>>;
    NameSet known_;  // the vehicles the game knows; empty where the stock lines are not loaded
    std::optional<Game> knownFor_;  // and of which game, with the records' columns below

    // The other file's keys: handling.cfg's vehicle records, or the handling identifiers
    // default.ide's vehicles name, in file order; none where it could not be read. Each is kept
    // with the file it was read from, as the system told it then, to be read again only once it
    // changed: a user goes from one file to the other and back.
    struct OtherFile {
        std::filesystem::path path;
        FileStamp stamp;
        NameSet names;
        std::vector<std::string> order;
    };
    bool otherRead_ = false;
    std::array<OtherFile, 2> others_;  // handling.cfg's, for default.ide; default.ide's
    const OtherFile& Other() const { return others_[document_.IsIde() ? 0 : 1]; }

    // What each kind of record holds: its columns, and a bit for each that holds a number.
    std::array<int, kRecordKinds> columns_{};
    std::array<std::uint64_t, kRecordKinds> numbers_{};

    mutable std::vector<Finding> scratch_;
    // The findings of the line asked for last, for the cells of one row asked in turn.
    mutable struct {
        size_t line = SIZE_MAX;
        unsigned version = 0;
        std::vector<Finding> findings;
    } said_;
};

}  // namespace revlane
