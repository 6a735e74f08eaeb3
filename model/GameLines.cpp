#include "GameLines.h"

#include <algorithm>
#include <array>

#include "ExpressImport.h"
#include "LineSplit.h"
#include "StockLines.h"
#include "Text.h"
#include "ValueScan.h"

namespace revlane {

namespace {

// Adds a finding; its sentence is made only where it is wanted, since most findings of a large
// file are only counted.
template <class Names>
void Found(std::vector<Finding>& out, const LineFacts& facts, GameRule rule, int col, Names names)
{
    out.push_back({rule, facts.line, col, facts.say ? names() : std::string()});
}

const char* GameName(Game game)
{
    return game == Game::Gta3 ? "GTA III" : "Vice City";
}

// A default.ide field as the game takes it: without the blanks around it.
std::string_view Trim(std::string_view field)
{
    while (!field.empty() && IsFieldGap(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && IsFieldGap(field.back()))
        field.remove_suffix(1);
    return field;
}

// How much of a value the game reads as a number: the length of its leading number, as the C
// library reads numbers, and whether that is the whole value.
struct NumberRead {
    size_t length;
    bool whole;
};

NumberRead LeadingNumber(std::string_view value)
{
    size_t i = 0, digits = 0;
    const auto skipDigits = [&] {
        for (; i < value.size() && text::IsDigit(value[i]); ++i)
            ++digits;
    };
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        ++i;
    skipDigits();
    if (i < value.size() && value[i] == '.') {
        ++i;
        skipDigits();
    }
    if (digits == 0)
        return {0, value.empty()};
    // An exponent counts only with its digits, as the C library reads numbers.
    if (i < value.size() && (value[i] == 'e' || value[i] == 'E')) {
        size_t j = i + 1;
        if (j < value.size() && (value[j] == '+' || value[j] == '-'))
            ++j;
        const size_t first = j;
        while (j < value.size() && text::IsDigit(value[j]))
            ++j;
        if (j > first)
            i = j;
    }
    return {i, i == value.size()};
}

}  // namespace

void CheckLineLength(std::string_view text, const LineFacts& facts, std::vector<Finding>& out)
{
    if (text.size() > kHandlingLineChars)
        Found(out, facts, GameRule::LineTooLong, 0, [&] {
            return Say(GameRule::LineTooLong, {Grouped(facts.line + 1), Grouped(static_cast<long long>(text.size()))});
        });
}

std::string_view CheckRecordLine(std::string_view text, const LineFacts& facts, RecordKind kind, int columns,
                                 std::uint64_t numbers, std::vector<Finding>& out)
{
    CheckLineLength(text, facts, out);
    // GTA III reads every record as a vehicle's: a marker is the start of its identifier.
    if (facts.game == Game::Gta3 && kind != RecordKind::Vehicle) {
        const std::string_view identifier = HandlingIdentifierOf(text);
        Found(out, facts, GameRule::UnknownIdentifier, 0, [&] { return Say(GameRule::UnknownIdentifier, {identifier}); });
        return {};
    }
    const size_t count = out.size();
    std::string_view identifier;
    int index = 0;
    for (ValueScan scan(text.substr(kind == RecordKind::Vehicle || text.empty() ? 0 : 1)); scan.Next(); ++index) {
        const std::string_view value = scan.Value();
        if (index == 0) {
            identifier = value;
        } else if (index < columns && index < 64 && ((numbers >> index) & 1) && !scan.Plain()) {
            if (const NumberRead read = LeadingNumber(value); !read.whole)
                Found(out, facts, GameRule::NotANumber, index, [&] {
                    return Say(GameRule::NotANumber, {read.length == 0 ? "0" : value.substr(0, read.length), value});
                });
        }
    }
    if (index < columns) {
        Found(out, facts, GameRule::FewerValues, 0, [&] {
            return Say(GameRule::FewerValues, {std::to_string(std::max(index - 1, 0)), std::to_string(columns - 1)});
        });
        // Before the values it names.
        std::rotate(out.begin() + static_cast<std::ptrdiff_t>(count), out.end() - 1, out.end());
    }
    return identifier;
}

IdeKeys CheckIdeLine(std::string_view text, const LineFacts& facts, std::vector<Finding>& out)
{
    // The fields the rules read are the first 13; the others are only counted.
    std::array<std::string_view, 13> fields{};
    int count = 0, filled = 0;
    for (size_t start = 0;; ++count) {
        const size_t comma = text.find(',', start);
        const std::string_view field = Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (count < static_cast<int>(fields.size()))
            fields[static_cast<size_t>(count)] = field;
        // An empty field at the end of the line is none the game reads.
        if (!field.empty())
            filled = count + 1;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    const Game game = facts.game;
    const auto field = [&](int at) { return fields[static_cast<size_t>(at)]; };
    const auto say = [&](GameRule rule, int col, std::initializer_list<std::string_view> names) {
        Found(out, facts, rule, col, [&] { return Say(rule, names); });
    };

    IdeKeys keys{ReadWholeNumber(field(0)), field(4)};
    const ExpressImport::ModelIdRange ids = ExpressImport::CarModelIds(game);
    if (!keys.modelId || *keys.modelId < ids.first || *keys.modelId > ids.last)
        say(GameRule::IdOutsideRange, 0, {std::to_string(ids.first), std::to_string(ids.last), field(0)});
    const std::string_view type = field(3);
    const int expected = IdeFieldCount(game, type);
    if (expected == 0)
        say(GameRule::UnknownType, 3, {type, IdeTypesText(game)});
    else if (filled != expected)
        say(filled < expected ? GameRule::TooFewFields : GameRule::TooManyFields, 0,
            {type, std::to_string(expected), GameName(game), std::to_string(filled)});
    if (field(5).size() > kGameNameChars)
        say(GameRule::GameNameTooLong, 5, {field(5), std::to_string(field(5).size())});
    const int classField = IdeClassField(game);
    if (filled > classField && !KnowsClass(game, field(classField)))
        say(GameRule::UnknownClass, classField, {field(classField)});
    const int wheelField = IdeWheelField(game);
    if (type == "car" && filled > wheelField) {
        const std::optional<int> wheel = ReadWholeNumber(field(wheelField));
        if (!wheel || !IsWheel(game, *wheel))
            say(GameRule::UnknownWheel, wheelField, {field(wheelField), WheelsText(game)});
    }
    return keys;
}

}  // namespace revlane
