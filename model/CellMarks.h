#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "ConfigFile.h"
#include "FieldRules.h"
#include "Grid.h"
#include "StockLines.h"
#include "Views.h"

namespace revlane {

// What each cell of the open file tells at a glance beside its value: the game's stock value
// where the cell differs from it, and whether the value lies outside what its column's caption
// allows. Worked out once per row, after a read and after each change of a row, so that painting
// only looks them up.
class CellMarks {
public:
    struct Mark {
        std::optional<std::string> stock;  // the stock value, where the cell differs from it
        bool outside = false;              // outside the column's rule
    };

    CellMarks(const Grid& grid, const ConfigFile& file, const DefaultLines& stock);

    // After a read: the open view's game and column rules, and every row's marks.
    void Reset(Game game, const CaptionTable& captions);
    // After a change of one row's cells.
    void RefreshRow(int row);

    // The mark of a cell; an empty one for a cell without marks.
    const Mark& At(int row, int col) const;
    // The rule of a column and the field's name, for telling the user what is allowed.
    const FieldRule& Rule(int col) const;
    const std::string& RuleText(int col) const { return ruleTexts_.at(static_cast<size_t>(col)); }

private:
    const std::vector<std::string>* StockCells(int row);

    const Grid& grid_;
    const ConfigFile& file_;
    const DefaultLines& stock_;
    Game game_ = Game::Gta3;
    std::vector<FieldRule> rules_;
    std::vector<std::string> ruleTexts_;
    std::vector<std::vector<Mark>> marks_;  // by grid row, then column
    std::map<std::string, std::optional<std::vector<std::string>>> stockCells_;  // by vehicle key
};

// Whether two cell values are the same: numbers as numbers ("1700" and "1700.0"), other text
// without the spaces around it.
bool SameValue(const std::string& a, const std::string& b);

}  // namespace revlane
