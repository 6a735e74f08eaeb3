#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Catalogue.h"
#include "Document.h"
#include "FieldRules.h"
#include "StockLines.h"
#include "Views.h"

namespace revlane {

// What each cell of the open file tells at a glance beside its value: the game's stock value
// where the cell differs from it, and whether the value lies outside what its column's caption
// allows. A row's marks are worked out when they are first looked at after a read or after a
// change of the row, and kept for the rows looked at last, so that painting mostly looks them
// up and a read costs nothing for the rows never shown.
class CellMarks : private DocumentListener {
public:
    struct Mark {
        std::optional<std::string> stock;  // the stock value, where the cell differs from it
        bool outside = false;              // outside the column's rule
    };

    // Listens to the document from now on, as long as it lives.
    CellMarks(const Document& document, const DefaultLines& stock, const CaptionTable& captions);

    // The mark of a cell; an empty one for a cell without marks.
    const Mark& At(int row, int col) const;
    // The field's name and its rule, for telling the user what is allowed.
    const std::string& RuleText(int col) const;

private:
    // After a read: the open file's game and column rules; every row's marks are to be worked out.
    void DocumentReset() override;
    // After a change of rows' lines: their marks are to be worked out again.
    void RowsChanged(int first, int last) override;
    const std::vector<Mark>& WorkOut(int row) const;
    const std::vector<std::string>* StockCells(const std::string& key) const;

    // What a view's columns allow, and its vehicles' stock lines split into cells, by vehicle key.
    // Each game's two files keep theirs, so that a file read again, or after the other one, finds
    // them worked out.
    struct View {
        std::vector<FieldRule> rules;
        std::vector<std::string> ruleTexts;
        std::map<std::string, std::optional<std::vector<std::string>>> stockCells;
    };

    const Document& document_;
    const DefaultLines& stock_;
    const CaptionTable& captions_;
    // By game, file and kind of record.
    mutable std::array<View, 4 * kRecordKinds> views_;
    size_t view_ = 0;  // which of views_ the open file uses
    mutable std::unordered_map<int, std::vector<Mark>> rows_;  // by row, those worked out
};

// Whether two cell values are the same: numbers as numbers ("1700" and "1700.0"), other text
// without the spaces around it.
bool SameValue(const std::string& a, const std::string& b);

}  // namespace revlane
