#include "LineSplit.h"

#include <algorithm>

#include "Text.h"

namespace revlane {

namespace {

// A default.ide field as its cell shows it: without its tabs, and without the blanks around it.
std::string DefaultField(std::string_view field)
{
    size_t first = 0;
    size_t last = field.size();
    while (first < last && IsFieldGap(field[first]))
        ++first;
    while (last > first && IsFieldGap(field[last - 1]))
        --last;
    field = field.substr(first, last - first);
    return field.find('\t') == std::string_view::npos ? std::string(field) : text::RemoveTabs(field);
}

}  // namespace

std::vector<std::string> SplitDefaultFields(std::string_view line)
{
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(DefaultField(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::string_view HandlingIdentifierOf(std::string_view line)
{
    size_t first = 0;
    while (first < line.size() && IsFieldGap(line[first]))
        ++first;
    size_t last = first;
    while (last < line.size() && !IsFieldGap(line[last]))
        ++last;
    return line.substr(first, last - first);
}

std::vector<std::string> SplitRecordFields(std::string_view line)
{
    return SplitHandlingFields(line.substr(std::min<size_t>(1, line.size())));
}

std::string_view RecordIdentifierOf(std::string_view line)
{
    return HandlingIdentifierOf(line.substr(std::min<size_t>(1, line.size())));
}

std::string BuildRecordLine(char marker, const std::vector<std::string>& fields)
{
    std::string line(1, marker);
    for (const std::string& field : fields) {
        line += ' ';
        line += field;
    }
    return line;
}

std::string_view DefaultIdeKeyOf(std::string_view line)
{
    return line.substr(0, line.find(','));
}

std::vector<std::string> SplitHandlingFields(std::string_view line)
{
    std::vector<std::string> fields;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && IsFieldGap(*p))
        ++p;
    while (p < end) {
        const char* const start = p;
        while (p < end && !IsFieldGap(*p))
            ++p;
        fields.emplace_back(start, static_cast<size_t>(p - start));
        while (p < end && IsFieldGap(*p))
            ++p;
    }
    if (fields.empty())
        fields.emplace_back();
    return fields;
}

std::string BuildDefaultLine(const std::vector<std::string>& fields, int columns)
{
    // As many fields as the line holds: a boat's, a heli's or a train's line has fewer than a
    // car's, and an empty field added at its end would be one the game reads.
    std::string line;
    for (size_t c = 0; c < fields.size(); ++c) {
        if (c > 0) {
            // Fields past the view's columns are the game's too: they stay, after the last column.
            const int before = static_cast<int>(c) - 1;
            line += before >= columns - 2 ? ", " : before == 1 || before == 2 ? ",\t\t" : ",\t";
        }
        line += fields[c];
    }
    return line;
}

std::string BuildHandlingLine(const std::vector<std::string>& fields, int columns)
{
    static const std::string none;
    const auto field = [&](int c) -> const std::string& {
        return c < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(c)] : none;
    };
    // The games' own layout pads the identifier to 15 columns; a longer one still needs a gap,
    // or it would run into the first value.
    std::string line = field(0);
    line.resize(std::max(line.size() + 1, kHandlingIdentifierWidth), ' ');
    for (int c = 1; c < std::max(columns, static_cast<int>(fields.size())); ++c) {
        if (c == 30)
            line += "\t\t";
        line += field(c);
        line += ' ';
    }
    return line;
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
