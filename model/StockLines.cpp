#include "StockLines.h"

#include "LineSplit.h"
#include "StringTable.h"
#include "Text.h"

namespace revlane {

namespace {

// Larger than any model id; keeps the reading free of overflow whatever the text holds.
constexpr long long kNumberLimit = 1'000'000'000;

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

}  // namespace

std::optional<int> ReadWholeNumber(std::string_view text)
{
    size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool digits = false;
    for (skipBlanks(); i < text.size() && text::IsDigit(text[i]); skipBlanks()) {
        digits = true;
        value = value * 10 + (text[i] - '0');
        if (value >= kNumberLimit)
            return std::nullopt;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        // 95.0 is still 95; 95.5 is no model id.
        for (++i, skipBlanks(); i < text.size() && text::IsDigit(text[i]); skipBlanks()) {
            digits = true;
            if (text[i] != '0')
                return std::nullopt;
            ++i;
        }
    }
    if (!digits)
        return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

DefaultLines::KeyRange DefaultLines::DefaultIdeKeys(Game game)
{
    return game == Game::Gta3 ? KeyRange{1, 69} : KeyRange{130, 246};
}

DefaultLines::KeyRange DefaultLines::HandlingKeys(Game game)
{
    return game == Game::Gta3 ? KeyRange{70, 126} : KeyRange{247, 352};
}

DefaultLines::KeyRange DefaultLines::RecordKeys(Game game, RecordKind kind)
{
    if (game == Game::Gta3)
        return {1, 0};
    switch (kind) {
    case RecordKind::Vehicle: return HandlingKeys(game);
    case RecordKind::Boat: return {353, 363};
    case RecordKind::Bike: return {364, 368};
    case RecordKind::Aircraft: return {369, 378};
    }
    return {1, 0};
}

void DefaultLines::Load()
{
    for (int key = 0; key < Count; ++key)
        entries_[static_cast<size_t>(key)] = LoadResString(key);
}

const std::string& DefaultLines::Entry(int key) const
{
    static const std::string empty;
    if (key < 0 || key >= Count)
        return empty;
    return entries_[static_cast<size_t>(key)];
}

std::string DefaultLines::HandlingIdentifier(std::string_view line)
{
    return std::string(HandlingIdentifierOf(line));
}

std::optional<int> DefaultLines::DefaultIdeModelId(std::string_view line)
{
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    return ReadWholeNumber(line.substr(0, comma));
}

std::optional<std::string> DefaultLines::DefaultIdeLine(Game game, int modelId) const
{
    const KeyRange keys = DefaultIdeKeys(game);
    for (int key = keys.first; key <= keys.last; ++key) {
        const std::string& line = Entry(key);
        if (DefaultIdeModelId(line) == modelId)
            return line;
    }
    return std::nullopt;
}

std::optional<std::string> DefaultLines::HandlingLine(Game game, std::string_view identifier) const
{
    // An empty key would otherwise match every empty entry of the range.
    if (identifier.empty())
        return std::nullopt;
    const KeyRange keys = HandlingKeys(game);
    for (int key = keys.first; key <= keys.last; ++key) {
        const std::string& line = Entry(key);
        if (HandlingIdentifier(line) == identifier)
            return line;
    }
    return std::nullopt;
}

std::optional<std::string> DefaultLines::RecordLine(Game game, RecordKind kind, std::string_view identifier) const
{
    if (kind == RecordKind::Vehicle)
        return HandlingLine(game, identifier);
    if (identifier.empty())
        return std::nullopt;
    const KeyRange keys = RecordKeys(game, kind);
    for (int key = keys.first; key <= keys.last; ++key)
        if (RecordIdentifierOf(Entry(key)) == identifier)
            return Entry(key);
    return std::nullopt;
}

}  // namespace revlane
