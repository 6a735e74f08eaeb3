#include "CellMarks.h"

#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// The rows whose marks are kept: many screens' worth, and bounded however far a user scrolls.
constexpr size_t kRowsKept = 4096;

}  // namespace

bool SameValue(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    const std::optional<double> x = ParseDecimal(text::TrimSpaces(a)), y = ParseDecimal(text::TrimSpaces(b));
    if (x && y)
        return *x == *y;
    return text::TrimSpaces(a) == text::TrimSpaces(b);
}

CellMarks::CellMarks(const Document& document, const DefaultLines& stock, const CaptionTable& captions)
    : document_(document), stock_(stock), captions_(captions)
{
    document_.Listen(*this);
    DocumentReset();
}

void CellMarks::DocumentReset()
{
    const Game game = document_.GameOf();
    const RecordKind record = document_.Record();
    view_ = ((game == Game::ViceCity ? 2 : 0) + (document_.IsIde() ? 1 : 0)) * kRecordKinds + static_cast<size_t>(record);
    View& view = views_[view_];
    const size_t cols = static_cast<size_t>(document_.Columns());
    if (view.rules.size() != cols) {
        view.stockCells.clear();
        view.rules.assign(cols, FieldRule());
        view.ruleTexts.assign(cols, std::string());
        for (int col = 1; !document_.IsIde() && col < document_.Columns(); ++col) {
            // A boat's, bike's or aircraft's values are numbers; only the vehicles' captions give ranges.
            if (record != RecordKind::Vehicle) {
                view.rules[static_cast<size_t>(col)].kind = FieldRule::Kind::Number;
                view.ruleTexts[static_cast<size_t>(col)] = std::string(RecordColumnCaption(record, col).name) + " [a number]";
                continue;
            }
            const CaptionTable::Header header = captions_.HandlingHeader(game, col);
            view.rules[static_cast<size_t>(col)] = ParseFieldRule(header.hint);
            view.ruleTexts[static_cast<size_t>(col)] = std::string(header.name) + " " + std::string(header.hint);
        }
        if (!document_.IsIde() && record == RecordKind::Vehicle) {
            const CaptionTable::Header header = captions_.HandlingHeader(game, 0);
            view.rules[0] = ParseFieldRule(header.hint);
            view.ruleTexts[0] = std::string(header.name) + " " + std::string(header.hint);
        }
    }
    rows_.clear();
}

void CellMarks::RowsChanged(int first, int last)
{
    // The rows kept are few; a change of many rows looks at those, not at every row changed.
    if (static_cast<size_t>(last - first) < rows_.size()) {
        for (int row = first; row <= last; ++row)
            rows_.erase(row);
        return;
    }
    for (auto kept = rows_.begin(); kept != rows_.end();)
        kept = kept->first >= first && kept->first <= last ? rows_.erase(kept) : std::next(kept);
}

const std::string& CellMarks::RuleText(int col) const
{
    return views_[view_].ruleTexts.at(static_cast<size_t>(col));
}

const std::vector<CellMarks::Mark>& CellMarks::WorkOut(int row) const
{
    if (rows_.size() >= kRowsKept)
        rows_.clear();
    std::vector<Mark>& marks = rows_[row];
    if (!document_.IsVehicleRow(row))
        return marks;
    // A copy: looking the stock line up may split other rows.
    const std::vector<std::string> fields = document_.Fields(row);
    const std::vector<std::string>* stock = fields.empty() ? nullptr : StockCells(fields[0]);
    const std::vector<FieldRule>& rules = views_[view_].rules;
    static const std::string none;
    marks.resize(static_cast<size_t>(document_.Columns()));
    for (size_t col = 0; col < marks.size(); ++col) {
        const std::string& value = col < fields.size() ? fields[col] : none;
        Mark& mark = marks[col];
        if (stock && !SameValue(value, col < stock->size() ? (*stock)[col] : none))
            mark.stock = col < stock->size() ? (*stock)[col] : none;
        mark.outside = col < rules.size() && !Allows(rules[col], value);
    }
    return marks;
}

// The stock line of a vehicle split into cells as reading splits it, or none.
const std::vector<std::string>* CellMarks::StockCells(const std::string& key) const
{
    auto [it, fresh] = views_[view_].stockCells.try_emplace(key);
    if (fresh) {
        std::optional<std::string> line;
        const RecordKind record = document_.Record();
        if (!document_.IsIde())
            line = stock_.RecordLine(document_.GameOf(), record, key);
        else if (const std::optional<int> id = ReadWholeNumber(key))
            line = stock_.DefaultIdeLine(document_.GameOf(), *id);
        if (line)
            it->second = document_.IsIde() ? SplitDefaultFields(*line)
                         : record == RecordKind::Vehicle ? SplitHandlingFields(*line)
                                                         : SplitRecordFields(*line);
    }
    return it->second ? &*it->second : nullptr;
}

const CellMarks::Mark& CellMarks::At(int row, int col) const
{
    static const Mark none;
    if (row < 0 || row >= document_.RowCount())
        return none;
    const auto found = rows_.find(row);
    const std::vector<Mark>& marks = found != rows_.end() ? found->second : WorkOut(row);
    return col >= 0 && col < static_cast<int>(marks.size()) ? marks[static_cast<size_t>(col)] : none;
}

}  // namespace revlane
