#pragma once

#include <map>
#include <string>
#include <vector>

#include "Views.h"

namespace revlane {

// What a row of a view shows.
enum class RowKind : unsigned char {
    Vehicle,  // a record's line, split into its values
    Title,    // a handling.cfg section title (";-"): its text, and nothing to edit
    Comment,  // a comment among the records, or a record line without an identifier: kept as it is
};

struct ViewRow {
    int line;  // its index in the line table
    RowKind kind;
};

// The rows of one kind of record: each of its records, and the comments among them, in file order.
struct RecordView {
    RecordKind kind = RecordKind::Vehicle;
    std::vector<ViewRow> rows;
    std::vector<int> vehicleRows;  // the rows the restore list names, in file order
    // The names read of the vehicles whose lines changed since: the restore list keeps them.
    std::map<int, std::string> namesRead;
};

// The records of a file as the game finds them, one view per kind it holds (the vehicles' always,
// first). handling.cfg: every line up to ";the end" that is neither a comment nor blank is a
// record, its first character telling its kind. default.ide: every line of the cars section
// (from "cars" to its "end") that is neither. A view runs from its kind's first record to its
// last; the comments among them keep their rows, the comment blocks above each kind's records
// and the records of other kinds are no rows of it.
std::vector<RecordView> FindRecordViews(const std::vector<std::string>& lines, FileKind kind);

}  // namespace revlane
