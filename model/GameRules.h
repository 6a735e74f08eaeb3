#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "Views.h"

// What the games trip on in their two files, as modders have learnt it from games that crash at
// start or cars that behave oddly: the games check almost nothing of what they read. Each rule
// says where it applies and, in one sentence, what the game would do.
namespace revlane {

enum class GameRule : unsigned char {
    HandlingTooLarge,
    NoEndLine,
    EndWithoutLineEnd,
    NoRecordForIde,
    LineTooLong,
    FewerValues,
    NotANumber,
    UnknownIdentifier,
    RepeatedIdentifier,
    IdOutsideRange,
    RepeatedModelId,
    UnknownType,
    TooFewFields,
    TooManyFields,
    NoHandlingRecord,
    GameNameTooLong,
    UnknownClass,
    UnknownWheel,
    SaveTooLarge,
    SaveLineTooLong,
    SaveWithoutEnd,
};

// Where a rule applies: to the whole file (told in the line above the grid), to a whole line (its
// key's cell is marked), to one value (its cell is marked), or to the file a save would write
// (asked before it is written).
enum class RuleScope : unsigned char { File, Line, Value, Save };

struct GameRuleEntry {
    GameRule rule;
    FileKind file;
    RuleScope scope;
    // What the game would do, with {1}, {2}, {3} and {4} for what the finding names.
    const char* says;
};

const GameRuleEntry& RuleEntry(GameRule rule);

// The rule's sentence with the names of the finding put in, in turn.
std::string Say(GameRule rule, std::initializer_list<std::string_view> names);

// How much of handling.cfg the games read: the whole file into a buffer of this many bytes, each
// line into one of this many characters.
inline constexpr size_t kHandlingBytes = 55'000;
inline constexpr size_t kHandlingLineChars = 200;
// The room a default.ide vehicle's game name has.
inline constexpr size_t kGameNameChars = 7;

// How many values a default.ide line of a vehicle type holds in a game; 0 where the game knows no
// such type.
int IdeFieldCount(Game game, std::string_view type);
// The types a game knows, for telling the user: "car, boat, train, heli or plane".
std::string IdeTypesText(Game game);
// Whether a game knows a vehicle class.
bool KnowsClass(Game game, std::string_view vehicleClass);
// Whether a model id is one of a game's wheels, and those wheels for telling the user.
bool IsWheel(Game game, int modelId);
std::string WheelsText(Game game);
// The default.ide fields the rules read, by game.
int IdeClassField(Game game);
int IdeWheelField(Game game);

// A whole number with its thousands apart by commas: 56,120.
std::string Grouped(long long number);

}  // namespace revlane
