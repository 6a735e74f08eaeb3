#include "LineSplit.h"

#include <algorithm>

#include "Text.h"

namespace revlane {

namespace {

// A default.ide field as its cell shows it: without the blanks around it, and without its tabs.
std::string_view DefaultField(std::string_view field, std::deque<std::string>& owned)
{
    size_t first = 0;
    size_t last = field.size();
    while (first < last && IsFieldGap(field[first]))
        ++first;
    while (last > first && IsFieldGap(field[last - 1]))
        --last;
    field = field.substr(first, last - first);
    if (field.find('\t') == std::string_view::npos)
        return field;
    return owned.emplace_back(text::RemoveTabs(field));
}

std::vector<std::string> Owned(const FieldViews& views)
{
    return std::vector<std::string>(views.fields.begin(), views.fields.end());
}

}  // namespace

void SplitDefaultViews(std::string_view line, FieldViews& out)
{
    out.Clear();
    for (size_t start = 0;;) {
        const size_t comma = line.find(',', start);
        out.fields.push_back(DefaultField(line.substr(start, comma == std::string_view::npos ? comma : comma - start), out.owned));
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
    }
}

void SplitHandlingViews(std::string_view line, FieldViews& out)
{
    out.Clear();
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && IsFieldGap(*p))
        ++p;
    while (p < end) {
        const char* const start = p;
        while (p < end && !IsFieldGap(*p))
            ++p;
        out.fields.emplace_back(start, static_cast<size_t>(p - start));
        while (p < end && IsFieldGap(*p))
            ++p;
    }
    if (out.fields.empty())
        out.fields.emplace_back();
}

void SplitRecordViews(std::string_view line, FieldViews& out)
{
    SplitHandlingViews(line.substr(std::min<size_t>(1, line.size())), out);
}

std::string_view HandlingFieldAt(std::string_view line, size_t col)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    for (size_t field = 0;; ++field) {
        while (p < end && IsFieldGap(*p))
            ++p;
        const char* const start = p;
        while (p < end && !IsFieldGap(*p))
            ++p;
        if (field == col || p == end)
            return field == col ? std::string_view(start, static_cast<size_t>(p - start)) : std::string_view();
    }
}

std::vector<std::string> SplitDefaultFields(std::string_view line)
{
    FieldViews views;
    SplitDefaultViews(line, views);
    return Owned(views);
}

std::string_view HandlingIdentifierOf(std::string_view line)
{
    return HandlingFieldAt(line, 0);
}

std::string_view DefaultIdeKeyOf(std::string_view line)
{
    return line.substr(0, line.find(','));
}

std::vector<std::string> SplitHandlingFields(std::string_view line)
{
    FieldViews views;
    SplitHandlingViews(line, views);
    return Owned(views);
}

std::vector<std::string> SplitRecordFields(std::string_view line)
{
    FieldViews views;
    SplitRecordViews(line, views);
    return Owned(views);
}

std::string_view RecordIdentifierOf(std::string_view line)
{
    return HandlingIdentifierOf(line.substr(std::min<size_t>(1, line.size())));
}

void BuildRecordLine(char marker, const std::vector<std::string_view>& fields, std::string& out)
{
    out.assign(1, marker);
    for (const std::string_view field : fields) {
        out += ' ';
        out += field;
    }
}

void BuildDefaultLine(const std::vector<std::string_view>& fields, int columns, std::string& out)
{
    // As many fields as the line holds: a boat's, a heli's or a train's line has fewer than a
    // car's, and an empty field added at its end would be one the game reads.
    out.clear();
    for (size_t c = 0; c < fields.size(); ++c) {
        if (c > 0) {
            // Fields past the view's columns are the game's too: they stay, after the last column.
            const int before = static_cast<int>(c) - 1;
            out += before >= columns - 2 ? ", " : before == 1 || before == 2 ? ",\t\t" : ",\t";
        }
        out += fields[c];
    }
}

void BuildHandlingLine(const std::vector<std::string_view>& fields, int columns, std::string& out)
{
    const auto field = [&](int c) { return c < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(c)] : std::string_view(); };
    size_t size = kHandlingIdentifierWidth + 3;
    for (const std::string_view value : fields)
        size += value.size() + 1;
    out.clear();
    out.reserve(size + static_cast<size_t>(std::max(0, columns - static_cast<int>(fields.size()))));
    // The games' own layout pads the identifier to 15 columns; a longer one still needs a gap,
    // or it would run into the first value.
    out.assign(field(0));
    out.resize(std::max(out.size() + 1, kHandlingIdentifierWidth), ' ');
    for (int c = 1; c < std::max(columns, static_cast<int>(fields.size())); ++c) {
        if (c == 30)
            out += "\t\t";
        out += field(c);
        out += ' ';
    }
}

std::optional<char> CharacterNotAllowed(std::string_view value, bool defaultIde)
{
    for (const char ch : value)
        if (ch == '\r' || ch == '\n' || ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f' || (defaultIde && ch == ','))
            return ch;
    return std::nullopt;
}

std::string NotAllowedText(char ch, bool defaultIde)
{
    const char* what = ch == ',' ? "a comma" : ch == ' ' ? "a space" : ch == '\t' ? "a tab"
                     : ch == '\r' || ch == '\n' ? "a line end" : "whitespace";
    return std::string(defaultIde ? "default.ide" : "handling.cfg") + " cannot hold " + what
           + " inside a value.";
}

}  // namespace revlane
