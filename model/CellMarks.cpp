#include "CellMarks.h"

#include "LineSplit.h"
#include "Text.h"

namespace revlane {

bool SameValue(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    const std::optional<double> x = ParseDecimal(text::TrimSpaces(a)), y = ParseDecimal(text::TrimSpaces(b));
    if (x && y)
        return *x == *y;
    return text::TrimSpaces(a) == text::TrimSpaces(b);
}

CellMarks::CellMarks(const Grid& grid, const ConfigFile& file, const DefaultLines& stock)
    : grid_(grid), file_(file), stock_(stock)
{
}

void CellMarks::Reset(Game game, const CaptionTable& captions)
{
    game_ = game;
    view_ = (game == Game::ViceCity ? 2 : 0) + (file_.DefaultMode ? 1 : 0);
    View& view = views_[view_];
    const size_t cols = static_cast<size_t>(grid_.Cols());
    if (view.rules.size() != cols) {
        view.stockCells.clear();
        view.rules.assign(cols, FieldRule());
        view.ruleTexts.assign(cols, std::string());
        // Only handling.cfg's captions give ranges.
        for (int col = 0; !file_.DefaultMode && col < grid_.Cols(); ++col) {
            const CaptionTable::Header header = captions.HandlingHeader(game, col);
            view.rules[static_cast<size_t>(col)] = ParseFieldRule(header.hint);
            view.ruleTexts[static_cast<size_t>(col)] = std::string(header.name) + " " + std::string(header.hint);
        }
    }
    marks_.resize(static_cast<size_t>(grid_.Rows()));
    stale_.assign(static_cast<size_t>(grid_.Rows()), 1);
}

void CellMarks::RefreshRow(int row)
{
    if (row >= 0 && row < static_cast<int>(stale_.size()))
        stale_[static_cast<size_t>(row)] = 1;
}

void CellMarks::WorkOut(int row) const
{
    stale_[static_cast<size_t>(row)] = 0;
    std::vector<Mark>& marks = marks_[static_cast<size_t>(row)];
    marks.clear();
    if (!file_.IsVehicleRow(row))
        return;
    const std::vector<std::string>* stock = StockCells(row);
    marks.resize(static_cast<size_t>(grid_.Cols()));
    for (int col = 0; col < grid_.Cols(); ++col) {
        const std::string& value = grid_.TextMatrix(row, col);
        Mark& mark = marks[static_cast<size_t>(col)];
        if (stock && !SameValue(value, stock->at(static_cast<size_t>(col))))
            mark.stock = stock->at(static_cast<size_t>(col));
        const std::vector<FieldRule>& rules = views_[view_].rules;
        mark.outside = col < static_cast<int>(rules.size()) && !Allows(rules[static_cast<size_t>(col)], value);
    }
}

// The stock line of a row's vehicle split into cells as reading splits it, or none.
const std::vector<std::string>* CellMarks::StockCells(int row) const
{
    const std::string& key = grid_.TextMatrix(row, 0);
    auto [it, fresh] = views_[view_].stockCells.try_emplace(key);
    if (fresh) {
        std::optional<std::string> line;
        if (!file_.DefaultMode)
            line = stock_.HandlingLine(game_, key);
        else if (const std::optional<int> id = ReadWholeNumber(key))
            line = stock_.DefaultIdeLine(game_, *id);
        if (line) {
            Grid scratch;
            scratch.SetCols(grid_.Cols());
            scratch.SetRows(1);
            if (file_.DefaultMode)
                SplitDefaultFields(scratch, 0, *line);
            else
                SplitHandlingFields(scratch, 0, *line);
            std::vector<std::string> cells;
            for (int col = 0; col < scratch.Cols(); ++col)
                cells.push_back(scratch.TextMatrix(0, col));
            it->second = std::move(cells);
        }
    }
    return it->second ? &*it->second : nullptr;
}

const CellMarks::Mark& CellMarks::At(int row, int col) const
{
    static const Mark none;
    if (row < 0 || row >= static_cast<int>(marks_.size()))
        return none;
    if (stale_[static_cast<size_t>(row)])
        WorkOut(row);
    const std::vector<Mark>& marks = marks_[static_cast<size_t>(row)];
    return col >= 0 && col < static_cast<int>(marks.size()) ? marks[static_cast<size_t>(col)] : none;
}

}  // namespace revlane
