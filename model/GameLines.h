#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GameRules.h"
#include "Views.h"

// The rules of single lines: what a line's own text tells of what the game would trip on. The
// rules that join lines (a key given twice) or files (a record for each vehicle) are the check's.
namespace revlane {

// A rule broken at a cell of a line, or of the whole file.
struct Finding {
    GameRule rule;
    int line = -1;  // in the line table; -1 for the whole file
    int col = -1;   // the cell marked, in the rows of the line's view; -1 for the whole file
    std::string says;  // the rule's sentence, where it was asked for
};

// What is known of a line beside its text.
struct LineFacts {
    int line;          // its index in the line table
    Game game;
    bool say;          // the findings' sentences are wanted, not only the findings
};

// A handling.cfg record of a kind, with the values its kind holds (its identifier among them) and
// a bit for each column whose value the game reads as a number; `read`: the game reads the line,
// which lies before ";the end". Returns the record's identifier; none where the game can have no
// record of its kind.
std::string_view CheckRecordLine(std::string_view text, const LineFacts& facts, RecordKind kind, int columns,
                                 std::uint64_t numbers, std::vector<Finding>& out);
// A line's length against what the game reads of a handling.cfg line.
void CheckLineLength(std::string_view text, const LineFacts& facts, std::vector<Finding>& out);

// What a default.ide vehicle's line names that other lines and files are to agree with.
struct IdeKeys {
    std::optional<int> modelId;  // where it is a whole number
    std::string_view handling;   // its handling identifier
};
// A line of default.ide's cars section.
IdeKeys CheckIdeLine(std::string_view text, const LineFacts& facts, std::vector<Finding>& out);

}  // namespace revlane
