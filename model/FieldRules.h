#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a handling.cfg field may hold, read from the range hint its column's caption gives, so
// that a value outside it can be pointed out. A rule is advice: nothing refuses a value.
namespace revlane {

struct FieldRule {
    enum class Kind {
        None,       // the caption gives no rule
        Between,    // "[1.0 to 50000.0]": a number from low to high, both included
        Inside,     // "[0.0 > x > 20.0]": a number strictly between low and high
        Choice,     // "[F/R/4]", "0=long, 1=small, ...": one of the choices, exactly
        Number,     // "not [L/M/H]": a number, not one of the letters
        MaxLength,  // "[14 characters max]": text of at most that many characters
    };
    Kind kind = Kind::None;
    double low = 0;
    double high = 0;
    std::vector<std::string> choices;
    size_t maxLength = 0;
};

FieldRule ParseFieldRule(std::string_view hint);

// Whether a value keeps the rule; every value keeps a rule of kind None.
bool Allows(const FieldRule& rule, std::string_view value);

// A plain decimal number: an optional sign, digits with an optional point, nothing else.
std::optional<double> ParseDecimal(std::string_view text);

// A value changed by a number: replaced by it, the number added, or multiplied by it. The result
// keeps the value's decimals, or the number's where it has more and is set or added, rounded half
// away from zero: 1700.0 times 1.1 is 1870.0, 5 times 1.5 is 8, 1.5 plus 0.25 is 1.75. None where
// the value or the number is no plain decimal number.
enum class NumberChange { Set, Add, Multiply };
std::optional<std::string> ChangeNumber(std::string_view value, NumberChange change, std::string_view operand);

}  // namespace revlane
