#include <algorithm>
#include <climits>

#include "GameCheck.h"
#include "Text.h"

// What the check's findings say and where they are: the whole file's, every one of the lines',
// those of a cell, the next one from a cell, and what a save would give the game.
namespace revlane {

namespace {

// "FOO", "FOO and BAR", "FOO, BAR and BAZ", "FOO, BAR, BAZ and 2 more".
std::string NamesText(const std::vector<std::string>& names)
{
    constexpr size_t kNamed = 3;
    std::string text;
    const size_t named = names.size() > kNamed + 1 ? kNamed : names.size();
    for (size_t i = 0; i < named; ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    if (named < names.size())
        text += " and " + std::to_string(names.size() - named) + " more";
    return text;
}

}  // namespace

std::vector<Finding> GameCheck::FileFindings() const
{
    std::vector<Finding> said;
    const auto say = [&said](GameRule rule, std::initializer_list<std::string_view> names) {
        said.push_back({rule, -1, -1, Say(rule, names)});
    };
    if (!prepared_ || !document_.IsOpen() || document_.IsIde())
        return said;
    if (bytes_ > kHandlingBytes)
        say(GameRule::HandlingTooLarge, {Grouped(static_cast<long long>(bytes_))});
    if (endLine_ < 0)
        say(GameRule::NoEndLine, {});
    else if (document_.EndOf(static_cast<size_t>(endLine_)) == LineEnd::None)
        say(GameRule::EndWithoutLineEnd, {});
    if (longOutside_ > 0) {
        for (size_t i = 0; i < lengths_.size(); ++i)
            if (roles_[i] == kNoRow && lengths_[i] > kHandlingLineChars && (endLine_ < 0 || static_cast<long long>(i) <= endLine_)) {
                say(GameRule::LineTooLong, {Grouped(static_cast<long long>(i) + 1), Grouped(lengths_[i])});
                break;
            }
    }
    if (otherRead_ && Complete()) {
        std::vector<std::string> missing;
        for (const std::string& name : Other().order)
            if (!identifiers_[static_cast<size_t>(RecordKind::Vehicle)].contains(name))
                missing.push_back(name);
        if (!missing.empty())
            say(GameRule::NoRecordForIde, {NamesText(missing)});
    }
    return said;
}

std::string GameCheck::Summary() const
{
    // The whole file's findings first: the count ends the line with where F8 goes.
    std::string text;
    const auto add = [&text](std::string_view sentence) {
        if (!text.empty())
            text += ' ';
        text += sentence;
    };
    for (const Finding& finding : FileFindings())
        add(finding.says);
    if (count_ > 0)
        add((Complete() ? "" : "At least ") + Grouped(count_) + (count_ == 1 ? " problem" : " problems")
            + " the game may trip on: F8 goes to the next");
    return text;
}

std::vector<Finding> GameCheck::Findings() const
{
    std::vector<Finding> found;
    for (size_t line = 0; line < next_; ++line)
        if (counts_[line] > 0) {
            const Key key = Examine(line, true, found);
            KeyFindings(line, key, key.kind >= 0 ? KeyId(key) : kNoKey, true, found);
        }
    return found;
}

std::vector<Finding> GameCheck::At(int row, int col) const
{
    std::vector<Finding> at;
    const int line = document_.LineOfRow(row);
    if (line < 0 || static_cast<size_t>(line) >= roles_.size())
        return at;
    // Worked out from the line as it is now: a change shows at once, before the next update.
    if (said_.line != static_cast<size_t>(line) || said_.version != version_) {
        said_.findings.clear();
        const Key key = Examine(static_cast<size_t>(line), true, said_.findings);
        KeyFindings(static_cast<size_t>(line), key, key.kind >= 0 ? KeyId(key) : kNoKey, true, said_.findings);
        said_.line = static_cast<size_t>(line);
        said_.version = version_;
    }
    for (const Finding& finding : said_.findings)
        if (finding.col == col)
            at.push_back(finding);
    return at;
}

std::vector<int> GameCheck::CellsOf(size_t line) const
{
    std::vector<int> cells;
    if (line >= next_ || counts_[line] == 0)
        return cells;
    scratch_.clear();
    const Key key = Examine(line, false, scratch_);
    KeyFindings(line, key, key.kind >= 0 ? KeyId(key) : kNoKey, false, scratch_);
    for (const Finding& finding : scratch_)
        cells.push_back(finding.col);
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

std::optional<GameCheck::Place> GameCheck::Next(Place from, bool forward) const
{
    const int views = document_.ViewCount();
    const auto rowsIn = [&](int view) { return static_cast<int>(document_.RowsOf(view).size()); };
    long long total = 0;
    for (int view = 0; view < views; ++view)
        total += rowsIn(view);
    if (total == 0 || count_ == 0)
        return std::nullopt;
    from.view = std::clamp(from.view, 0, views - 1);
    if (from.row < 0 || from.row >= rowsIn(from.view))
        from = {from.view, forward ? 0 : rowsIn(from.view) - 1, forward ? -1 : INT_MAX};
    const int step = forward ? 1 : -1;
    int view = from.view, row = from.row;
    // Every row once, from the cell after `from` round to `from` itself.
    for (long long visited = 0; visited <= total;) {
        if (row < 0 || row >= rowsIn(view)) {
            view = (view + step + views) % views;
            row = forward ? 0 : rowsIn(view) - 1;
            continue;
        }
        const bool start = view == from.view && row == from.row;
        const std::vector<int> cells = CellsOf(static_cast<size_t>(document_.RowsOf(view)[static_cast<size_t>(row)].line));
        const auto fits = [&](int col) {
            if (!start)
                return true;
            // Past `from` at first; up to it, and it too, once round.
            return visited == 0 ? (forward ? col > from.col : col < from.col) : (forward ? col <= from.col : col >= from.col);
        };
        if (forward) {
            for (const int col : cells)
                if (fits(col))
                    return Place{view, row, col};
        } else {
            for (auto col = cells.rbegin(); col != cells.rend(); ++col)
                if (fits(*col))
                    return Place{view, row, *col};
        }
        ++visited;
        row += step;
    }
    return std::nullopt;
}

std::string GameCheck::SaveQuestion(long long growth)
{
    if (!document_.IsOpen() || document_.IsIde())
        return {};
    // The lengths count as they are now, whether the lines changed are checked again yet or not.
    if (!prepared_)
        Prepare();
    TakeLengths();
    std::string said;
    const auto add = [&](std::string sentence) { said += (said.empty() ? "" : " ") + sentence; };
    if (const long long bytes = static_cast<long long>(bytes_) + growth; bytes > static_cast<long long>(kHandlingBytes))
        add(Say(GameRule::SaveTooLarge, {Grouped(bytes)}));
    // The header takes the first line's place where that is a comment, and the second's too.
    const std::vector<std::string>& lines = document_.Lines();
    const bool takesFirst = !lines.empty() && Document::HeaderTakes(lines[0], FileKind::HandlingCfg);
    const bool takesSecond = takesFirst && lines.size() > 1 && Document::HeaderTakes(lines[1], FileKind::HandlingCfg);
    std::uint32_t longest = 0;
    for (size_t i = 0; i < lengths_.size() && (endLine_ < 0 || static_cast<long long>(i) <= endLine_); ++i)
        if (!(i == 0 && takesFirst) && !(i == 1 && takesSecond))
            longest = std::max(longest, lengths_[i]);
    if (longest > kHandlingLineChars)
        add(Say(GameRule::SaveLineTooLong, {Grouped(longest)}));
    if (endAtRead_ && endLine_ < 0)
        add(Say(GameRule::SaveWithoutEnd, {}));
    return said.empty() ? said : said + " Save anyway?";
}

}  // namespace revlane
