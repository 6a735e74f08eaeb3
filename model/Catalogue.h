#pragma once

#include <array>
#include <string>
#include <string_view>

#include "Views.h"

namespace revlane {

// The handling.cfg column catalogue: for column k, entry 9 + k holds its letter, 41 + k its
// field name and 73 + k its range hint; 105 and 106 the letter and name of the field only
// Vice City's file has. Every other entry stays empty.
class CaptionTable {
public:
    static constexpr int Size = 201;

    // Fills the catalogue; ApplyCaptions does this once at start-up.
    void Fill();
    const std::string& Entry(int index) const;

    struct Header {
        std::string_view letter, name, hint;
    };
    // The three header rows over a column of a game's handling.cfg view, as views of the
    // catalogue's own entries: valid while the catalogue is.
    Header HandlingHeader(Game game, int col) const;

private:
    std::array<std::string, Size> entries_;
};

// The header over a column of the default.ide view, from the string table.
const std::string& DefaultCaption(Game game, int col);

// The letter and the field name over a column of a boat's, bike's or aircraft's record, as the
// game's own file names them above each kind's records; empty past the last.
struct RecordCaption {
    std::string_view letter, name;
};
RecordCaption RecordColumnCaption(RecordKind kind, int col);

// Whether the game reads a column's values as decimal numbers: not the keys, letters or
// hexadecimal flags.
bool HoldsNumbers(FileKind kind, Game game, int col, RecordKind record = RecordKind::Vehicle);

}  // namespace revlane
