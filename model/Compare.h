#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "CellRanges.h"
#include "Document.h"
#include "StockLines.h"

// The open file beside another file of its kind and game: a mod's file, or the open file's own
// backup. Their records are matched by identifier (in default.ide by model id), kind by kind,
// and compared field by field, numbers as numbers; the other file's values and the vehicles only
// it holds can be taken over.
namespace revlane {

// What a comparison found when it was made, for the line above the grid.
struct CompareCounts {
    long long values = 0;     // values that differ, over the records both files hold
    long long vehicles = 0;   // records of the open file that hold such a value
    long long onlyThere = 0;  // records only the other file holds
    long long onlyHere = 0;   // records of the open file that the other one lacks
    // The identifiers the other file holds more than once, each once, in its order.
    std::vector<std::string> twiceThere;
};

// The sentence the line above the grid says of a comparison with the file of that name.
std::string CompareSummary(const std::string& name, const CompareCounts& counts);

// A record only the other file holds, as that file has it.
struct TheirRecord {
    RecordKind kind = RecordKind::Vehicle;
    std::string name;  // as the user knows it: the identifier, or the model id and model name
    std::string line;
};

// The open document compared with another file. The marks are worked out from the document's
// lines as they are when they are asked for, so that they follow every change of them; the other
// file is read once and never changes.
class Comparison {
public:
    // Reads the file at the path with the open file's reader, kind and game, through the same
    // ports, so that a file it cannot read is told as any other is. None where nothing is to be
    // compared: `why` says why, or stays empty where the reading has told the user already.
    static std::unique_ptr<Comparison> Make(const Document& open, const std::filesystem::path& path, Document::Ports ports,
                                            const DefaultLines& stock, std::string& why);
    ~Comparison();
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;

    // The other file's name, without its folder.
    const std::string& Name() const { return name_; }
    const CompareCounts& Counts() const { return counts_; }

    // The other file's value of a cell of the view shown where the cell's value differs from it;
    // none where it is the same, or where the other file has no such record.
    const std::string* Theirs(int row, int col) const;
    // The next value's cell after the one given (before it, going back), round the end, whose
    // value differs from the other file's; none where none does.
    std::optional<std::pair<int, int>> Next(int row, int col, bool forward) const;
    // The other file's values for the range's cells that differ from them. A cell whose value is
    // the same, whose record the other file lacks or that cannot take the value without moving
    // others is left out and counted.
    RangeWork TakeValues(const CellRange& range) const;
    // The records only the other file holds now, kind by kind, each in its order there.
    std::vector<TheirRecord> OnlyThere() const;

private:
    Comparison(const Document& open, Document::Ports ports, const std::filesystem::path& path);
    // Why the other file cannot be compared with the open one; empty where it can. Its records
    // are indexed on the way, since they tell its game.
    std::string Refusal(const DefaultLines& stock);
    // Indexes the other file's first record of each identifier, and counts the differences.
    void Index();
    void Count();
    // The line of the other file's record of a kind that a line of the open file matches; none.
    const std::string* Match(RecordKind kind, std::string_view line) const;
    // The columns of a row of the view shown whose values differ, and the other file's values.
    struct RowMarks {
        int view = -1;
        std::string line;  // the row's line they were worked out from
        std::vector<std::pair<int, std::string>> theirs;
    };
    const RowMarks& MarksOf(int row) const;
    // The columns from `first` to `last` of two lines of a kind whose values differ, each with
    // the other line's value (valid until the next call). Only the fields up to two past `last`
    // are split: ours_ tells whether the open line has one after a column.
    const std::vector<std::pair<int, std::string_view>>& Differences(std::string_view ours, std::string_view theirs,
                                                                      RecordKind kind, int first, int last) const;

    struct KeyHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    using FirstRecords = std::unordered_map<std::string, int, KeyHash, std::equal_to<>>;

    const Document& open_;
    Installation install_;  // names the other file, for its document
    Document other_;
    std::string name_;
    CompareCounts counts_;
    // By kind of record: the other file's first record of each identifier, as an index of firsts_.
    std::array<FirstRecords, kRecordKinds> index_;
    // Those first records in the other file's order, each as its kind and its line there.
    std::vector<std::pair<RecordKind, int>> firsts_;
    mutable std::unordered_map<int, RowMarks> rows_;  // by row of the view shown, those worked out
    // Room the splits of lines reuse.
    mutable std::vector<std::string_view> ours_, theirs_;
    mutable std::vector<std::string> oursHeld_, theirsHeld_;
    mutable std::vector<std::pair<int, std::string_view>> differ_;
};

}  // namespace revlane
