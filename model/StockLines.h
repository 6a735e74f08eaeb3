#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "Views.h"

namespace revlane {

// The number a text starts with, read the way the games' tools read a model id: blanks and
// tabs are skipped wherever they stand, a sign and a fraction are understood, and reading
// stops at the first character that cannot belong to the number. Only a whole number
// counts: text without a leading number, a number with a fraction (95.5) and one too large
// for a model id give none.
std::optional<int> ReadWholeNumber(std::string_view text);

// The stock line of every vehicle of both games, for both files, exactly as the games ship
// them (with their tabs expanded), under the numbers of the program's string table. Filled
// once at start-up and only read afterwards; Restore defaults takes its lines from here.
class DefaultLines {
public:
    // Entries 0 to 400; entry 400 is the first default.ide column caption and no stock line.
    static constexpr int Count = 401;

    struct KeyRange {
        int first;
        int last;
    };
    // The keys that may hold a game's stock lines of one file. Some keys inside are empty.
    static KeyRange DefaultIdeKeys(Game game);
    static KeyRange HandlingKeys(Game game);
    // Vice City's boats', bikes' and aircraft's records, each beginning with its kind's marker.
    static KeyRange RecordKeys(Game game, RecordKind kind);

    // Entry i takes the string table's text numbered i; a number without text leaves its
    // entry empty.
    void Load();

    // The text of a key; empty for a key without a stock line and for keys outside 0 to 400.
    const std::string& Entry(int key) const;

    // The game's stock default.ide line whose model id (the number before its first comma)
    // is the one given, or none when the game has no such vehicle.
    std::optional<std::string> DefaultIdeLine(Game game, int modelId) const;
    // The first of the game's stock handling.cfg lines, in key order, whose identifier field
    // is exactly the one given (case counts), or none. The identifier is the line's first
    // token, as reading a file takes it, so that a vehicle read from a stock file finds its
    // stock line under the name the grid shows.
    std::optional<std::string> HandlingLine(Game game, std::string_view identifier) const;
    // The same for a boat's, bike's or aircraft's record: a vehicle's identifier may name one of
    // each (Vice City's SEAPLANE has three).
    std::optional<std::string> RecordLine(Game game, RecordKind kind, std::string_view identifier) const;

    // The identifier of a handling.cfg line.
    static std::string HandlingIdentifier(std::string_view line);
    // The model id of a default.ide line: the whole number before its first comma, if any.
    static std::optional<int> DefaultIdeModelId(std::string_view line);

private:
    std::array<std::string, Count> entries_;
};

}  // namespace revlane
