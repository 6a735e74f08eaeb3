#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "Compare.h"
#include "CompareFields.h"
#include "FieldRules.h"
#include "LineSplit.h"
#include "Text.h"

// The comparison cell by cell, in the view shown: the other file's value of each cell that
// differs, the way from one such cell to the next, and what taking the other file's values and
// records would put in.
namespace revlane {

namespace compare {

std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

std::string_view MatchKey(const Document& document, std::string_view line, std::string& held)
{
    const std::string_view key = document.KeyOf(line);
    if (!document.IsIde())
        return key;
    const std::optional<int> id = ReadWholeNumber(key);
    held = id ? std::to_string(*id) : std::string(Trimmed(key));
    return held;
}

std::string RecordName(const Document& document, std::string_view line)
{
    if (!document.IsIde())
        return std::string(document.KeyOf(line));
    const std::vector<std::string> fields = SplitDefaultFields(line);
    return fields.size() > 1 ? fields[0] + " " + fields[1] : fields[0];
}

void SplitViews(std::string_view line, bool ide, RecordKind kind, std::vector<std::string>& held,
                std::vector<std::string_view>& fields, size_t most)
{
    fields.clear();
    if (ide) {
        held = SplitDefaultFields(line);
        fields.assign(held.begin(), held.end());
        return;
    }
    FieldCursor cursor(line, kind);
    while (fields.size() < most && !cursor.AtEnd())
        fields.push_back(cursor.Next());
    if (fields.empty())
        fields.emplace_back();
}

namespace {

// A plain decimal number as ParseDecimal reads it: its sign, and its digits before and after the
// point without the zeros that say nothing ("007.50" is 7 and 5).
struct Decimal {
    bool negative = false;
    std::string_view whole, fraction;
    bool Zero() const { return whole.empty() && fraction.empty(); }
    size_t Significant() const
    {
        return whole.empty() ? fraction.size() - std::min(fraction.find_first_not_of('0'), fraction.size())
                             : whole.size() + fraction.size();
    }
};

std::optional<Decimal> Plain(std::string_view text)
{
    Decimal number;
    size_t at = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        number.negative = text[0] == '-';
        at = 1;
    }
    size_t point = std::string_view::npos, digits = 0;
    for (size_t i = at; i < text.size(); ++i) {
        if (text::IsDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && point == std::string_view::npos)
            point = i;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    number.whole = text.substr(at, std::min(point, text.size()) - at);
    number.fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    while (!number.whole.empty() && number.whole.front() == '0')
        number.whole.remove_prefix(1);
    while (!number.fraction.empty() && number.fraction.back() == '0')
        number.fraction.remove_suffix(1);
    return number;
}

}  // namespace

namespace {

const char* FieldEnd(const char* p, const char* end)
{
    while (p < end && !IsFieldGap(*p))
        ++p;
    return p;
}

// Where both lines hold the same field of at most seven bytes, followed by a gap in each, its
// length; otherwise 0. Eight bytes of each are read at once: most values are that short.
size_t SameShortField(const char* a, const char* endA, const char* b, const char* endB)
{
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    if (endA - a < 8 || endB - b < 8)
        return 0;
    std::uint64_t x = 0, y = 0;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    // The first byte below '!' of the eight is marked exactly (what lies above it may be too).
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    const std::uint64_t low = (x - kOnes * '!') & ~x & kHigh;
    if (low == 0)
        return 0;
    const size_t length = static_cast<size_t>(std::countr_zero(low)) / 8;
    const std::uint64_t field = (std::uint64_t{1} << (8 * length)) - 1;
    if (length == 0 || ((x ^ y) & field) != 0 || !IsFieldGap(a[length]) || !IsFieldGap(b[length]))
        return 0;
    return length;
}

}  // namespace

size_t DifferingValues(std::string_view ours, std::string_view theirs, RecordKind kind, int cols)
{
    if (ours == theirs)
        return 0;
    // A boat's, bike's or aircraft's marker is no field.
    const size_t marker = kind != RecordKind::Vehicle ? 1 : 0;
    const char* a = ours.data() + std::min(marker, ours.size());
    const char* b = theirs.data() + std::min(marker, theirs.size());
    const char* const endA = ours.data() + ours.size();
    const char* const endB = theirs.data() + theirs.size();
    size_t differ = 0;
    // Field by field, both lines read once side by side, without splitting either: an edited
    // line is in another layout than its backup's, so their gaps seldom match.
    for (int col = 0; col < cols; ++col) {
        while (a < endA && IsFieldGap(*a))
            ++a;
        while (b < endB && IsFieldGap(*b))
            ++b;
        if (a == endA && b == endB)
            break;
        if (const size_t same = SameShortField(a, endA, b, endB)) {
            a += same;
            b += same;
            continue;
        }
        const char* const x = a;
        const char* const y = b;
        while (a < endA && b < endB && *a == *b && !IsFieldGap(*a)) {
            ++a;
            ++b;
        }
        if ((a == endA || IsFieldGap(*a)) && (b == endB || IsFieldGap(*b)))
            continue;  // the same text
        a = FieldEnd(a, endA);
        b = FieldEnd(b, endB);
        if (col >= 1 && !SameField(std::string_view(x, static_cast<size_t>(a - x)), std::string_view(y, static_cast<size_t>(b - y))))
            ++differ;
    }
    return differ;
}

bool SameField(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    // A value read from a handling.cfg line has no spaces around it.
    if (a.empty() || b.empty() || a.front() == ' ' || a.back() == ' ' || b.front() == ' ' || b.back() == ' ') {
        a = text::SpacesTrimmed(a);
        b = text::SpacesTrimmed(b);
    }
    const std::optional<Decimal> x = Plain(a), y = Plain(b);
    if (x && y) {
        // Numbers of at most 15 significant digits are each a double of their own: they are the
        // same number only where they are written the same, but for their zeros and a plus.
        if (a.size() <= 24 && b.size() <= 24 && x->Significant() <= 15 && y->Significant() <= 15) {
            if (x->Zero() || y->Zero())
                return x->Zero() && y->Zero();
            return x->negative == y->negative && x->whole == y->whole && x->fraction == y->fraction;
        }
        const std::optional<double> p = ParseDecimal(a), q = ParseDecimal(b);
        if (p && q)
            return *p == *q;
    }
    return a == b;
}

}  // namespace compare

namespace {

// The rows whose marks are kept: many screens' worth, and bounded however far a user scrolls.
constexpr size_t kRowsKept = 4096;

}  // namespace

const std::vector<std::pair<int, std::string_view>>& Comparison::Differences(std::string_view ours, std::string_view theirs,
                                                                              RecordKind kind, int first, int last) const
{
    differ_.clear();
    // Most lines of a file beside its own backup are the same to the byte.
    if (ours == theirs)
        return differ_;
    const size_t most = static_cast<size_t>(std::max(last, 0)) + 2;
    compare::SplitViews(ours, open_.IsIde(), kind, oursHeld_, ours_, most);
    compare::SplitViews(theirs, open_.IsIde(), kind, theirsHeld_, theirs_, most);
    for (int col = std::max(first, 1); col <= last; ++col) {
        const size_t c = static_cast<size_t>(col);
        const std::string_view a = c < ours_.size() ? ours_[c] : std::string_view();
        const std::string_view b = c < theirs_.size() ? theirs_[c] : std::string_view();
        if (!compare::SameField(a, b))
            differ_.emplace_back(col, b);
    }
    return differ_;
}

const Comparison::RowMarks& Comparison::MarksOf(int row) const
{
    static const RowMarks none;
    if (!open_.IsVehicleRow(row))
        return none;
    const std::string& line = open_.LineAt(row);
    // Kept marks hold while the row shows the same line: whatever changed it, they go with it.
    if (const auto kept = rows_.find(row); kept != rows_.end() && kept->second.view == open_.CurrentView() && kept->second.line == line)
        return kept->second;
    if (rows_.size() >= kRowsKept)
        rows_.clear();
    RowMarks& marks = rows_[row];
    marks.view = open_.CurrentView();
    marks.line = line;
    marks.theirs.clear();
    if (const std::string* theirs = Match(open_.Record(), line))
        for (const auto& [col, value] : Differences(line, *theirs, open_.Record(), 1, open_.Columns() - 1))
            marks.theirs.emplace_back(col, std::string(value));
    return marks;
}

const std::string* Comparison::Theirs(int row, int col) const
{
    for (const auto& [c, value] : MarksOf(row).theirs)
        if (c == col)
            return &value;
    return nullptr;
}

std::optional<std::pair<int, int>> Comparison::Next(int row, int col, bool forward) const
{
    const int rows = open_.RowCount();
    // Every row once, and the row it starts from twice: its cells after the one given first, its
    // cells before (and the one given itself) last.
    for (int step = 0; step <= rows && rows > 0; ++step) {
        const int r = ((row + (forward ? step : -step)) % rows + rows) % rows;
        if (!open_.IsVehicleRow(r))
            continue;
        const std::string& line = open_.LineAt(r);
        const std::string* theirs = Match(open_.Record(), line);
        if (!theirs)
            continue;
        const auto& differ = Differences(line, *theirs, open_.Record(), 1, open_.Columns() - 1);
        // Only values are gone to: a key stays in view beside them.
        const auto found = [&](int c) {
            return c >= open_.Geometry().fixedCols && (step > 0 || (forward ? c > col : c < col))
                   && (step < rows || (forward ? c <= col : c >= col));
        };
        if (forward) {
            for (const auto& cell : differ)
                if (found(cell.first))
                    return std::pair(r, cell.first);
        } else {
            for (auto cell = differ.rbegin(); cell != differ.rend(); ++cell)
                if (found(cell->first))
                    return std::pair(r, cell->first);
        }
    }
    return std::nullopt;
}

RangeWork Comparison::TakeValues(const CellRange& range) const
{
    RangeWork work;
    CellRange& cells = work.covered;
    cells = {std::max(range.top, 0), std::max(range.left, open_.Geometry().fixedCols),
             std::min(range.bottom, open_.RowCount() - 1), std::min(range.right, open_.Columns() - 1)};
    if (cells.Empty())
        return work;
    const int width = cells.right - cells.left + 1;
    std::vector<CellEdit> row;
    for (int r = cells.top; r <= cells.bottom; ++r) {
        if (!open_.IsVehicleRow(r))
            continue;
        const std::string& line = open_.LineAt(r);
        const std::string* theirs = Match(open_.Record(), line);
        if (!theirs) {
            work.leftOut += width;
            continue;
        }
        row.clear();
        bool gaps = false;
        for (const auto& [col, value] : Differences(line, *theirs, open_.Record(), cells.left, cells.right)) {
            // A value that would leave a gap, or go after one, is judged as the document judges it.
            gaps = gaps || value.empty() || static_cast<size_t>(col) >= ours_.size() || CharacterNotAllowed(value, open_.IsIde());
            row.push_back({r, col, std::string(value)});
        }
        work.leftOut += width - static_cast<int>(row.size());
        if (gaps) {
            // Each value with those before it in the row, as the document puts them in.
            std::vector<CellEdit> kept;
            for (CellEdit& edit : row) {
                kept.push_back(std::move(edit));
                if (!open_.Refusal(kept).empty()) {
                    kept.pop_back();
                    ++work.leftOut;
                }
            }
            row = std::move(kept);
        }
        std::move(row.begin(), row.end(), std::back_inserter(work.edits));
    }
    work.decimalCommas = open_.DecimalCommas(work.edits);
    return work;
}

std::vector<TheirRecord> Comparison::OnlyThere() const
{
    std::array<std::unordered_set<std::string>, kRecordKinds> ours;
    std::string held;
    for (const RecordView& view : FindRecordViews(open_.Lines(), open_.Kind()))
        for (const ViewRow& row : view.rows)
            if (row.kind == RowKind::Vehicle)
                ours[static_cast<size_t>(view.kind)].insert(std::string(compare::MatchKey(open_, open_.Lines()[static_cast<size_t>(row.line)], held)));
    std::vector<TheirRecord> records;
    for (int k = 0; k < kRecordKinds; ++k)
        for (const auto& [kind, at] : firsts_) {
            const std::string& line = other_.Lines()[static_cast<size_t>(at)];
            if (static_cast<int>(kind) == k && !ours[static_cast<size_t>(k)].count(std::string(compare::MatchKey(other_, line, held))))
                records.push_back({kind, compare::RecordName(other_, line), line});
        }
    return records;
}

}  // namespace revlane
