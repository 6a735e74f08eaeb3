#include "FieldRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Text.h"

namespace revlane {

std::optional<double> ParseDecimal(std::string_view text)
{
    size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    size_t digits = 0;
    bool point = false;
    for (size_t j = i; j < text.size(); ++j) {
        if (text::IsDigit(text[j]))
            ++digits;
        else if (text[j] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    // from_chars reads the same whatever the user's locale, and takes no leading '+'.
    double value = 0;
    const std::string_view number = text.substr(i);
    // Beyond the range of a double is no number: read as 0 or infinity, it would pass for a
    // stock value or keep a range it does not keep.
    if (std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed).ec != std::errc())
        return std::nullopt;
    return text[0] == '-' ? -value : value;
}

namespace {

// How many digits a plain decimal number writes after its point.
int Decimals(std::string_view number)
{
    const size_t point = number.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

}  // namespace

std::optional<std::string> ChangeNumber(std::string_view value, NumberChange change, std::string_view operand)
{
    const std::optional<double> number = ParseDecimal(value);
    const std::optional<double> by = ParseDecimal(operand);
    if (!number || !by)
        return std::nullopt;
    // A number set or added keeps its own decimals; a factor's say nothing of the result's.
    const int decimals = change == NumberChange::Multiply ? Decimals(value) : std::max(Decimals(value), Decimals(operand));
    const double result = change == NumberChange::Set ? *by : change == NumberChange::Add ? *number + *by : *number * *by;
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(result * scale) / scale;
    if (!std::isfinite(rounded))
        return std::nullopt;
    if (rounded == 0)
        rounded = 0;  // no "-0.0"
    // Written the same whatever the user's locale, as the games read it.
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return std::nullopt;
    return std::string(text, written.ptr);
}

namespace {

std::vector<std::string> SplitOn(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text::TrimSpaces(text.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

}  // namespace

FieldRule ParseFieldRule(std::string_view hint)
{
    FieldRule rule;
    const std::string text = text::TrimSpaces(hint);
    if (text::StartsWith(text, "not [")) {
        rule.kind = FieldRule::Kind::Number;
        return rule;
    }
    if (text.size() > 2 && text.front() == '[' && text.back() == ']') {
        const std::string inner = text.substr(1, text.size() - 2);
        const std::vector<std::string> words = SplitOn(inner, ' ');
        if (words.size() == 3 && words[1] == "to" && ParseDecimal(words[0]) && ParseDecimal(words[2])) {
            rule = {FieldRule::Kind::Between, *ParseDecimal(words[0]), *ParseDecimal(words[2]), {}, 0};
        } else if (words.size() == 5 && words[1] == ">" && words[2] == "x" && words[3] == ">"
                   && ParseDecimal(words[0]) && ParseDecimal(words[4])) {
            const double a = *ParseDecimal(words[0]), b = *ParseDecimal(words[4]);
            rule = {FieldRule::Kind::Inside, std::min(a, b), std::max(a, b), {}, 0};
        } else if (words.size() == 3 && words[1] == "characters" && words[2] == "max" && ParseDecimal(words[0])
                   && *ParseDecimal(words[0]) >= 0 && *ParseDecimal(words[0]) < 1e9) {
            rule.kind = FieldRule::Kind::MaxLength;
            rule.maxLength = static_cast<size_t>(*ParseDecimal(words[0]));
        } else if (inner.find('/') != std::string::npos) {
            rule.kind = FieldRule::Kind::Choice;
            rule.choices = SplitOn(inner, '/');
        }
        return rule;
    }
    // "0=long, 1=small, 2=big, 3=tall": the values are the words before the equals signs.
    if (text.find('=') != std::string::npos) {
        rule.kind = FieldRule::Kind::Choice;
        for (const std::string& part : SplitOn(text, ','))
            rule.choices.push_back(text::TrimSpaces(part.substr(0, part.find('='))));
    }
    return rule;
}

bool Allows(const FieldRule& rule, std::string_view value)
{
    const std::optional<double> number = ParseDecimal(value);
    switch (rule.kind) {
    case FieldRule::Kind::None: return true;
    case FieldRule::Kind::Between: return number && *number >= rule.low && *number <= rule.high;
    case FieldRule::Kind::Inside: return number && *number > rule.low && *number < rule.high;
    case FieldRule::Kind::Choice: return std::find(rule.choices.begin(), rule.choices.end(), value) != rule.choices.end();
    case FieldRule::Kind::Number: return number.has_value();
    case FieldRule::Kind::MaxLength: return value.size() <= rule.maxLength;
    }
    return true;
}

}  // namespace revlane
