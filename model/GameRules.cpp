#include "GameRules.h"

#include <iterator>

namespace revlane {

namespace {

constexpr FileKind cfg = FileKind::HandlingCfg, ide = FileKind::DefaultIde;
using enum GameRule;
using enum RuleScope;

// The rules, in the order the line above the grid and the tooltips tell them.
const GameRuleEntry kRules[] = {
    // handling.cfg is read whole into a buffer, line by line into another, up to ";the end".
    {HandlingTooLarge, cfg, File, "The game reads at most 55,000 bytes of handling.cfg; this file is {1} bytes and may crash it."},
    {NoEndLine, cfg, File, "The game stops reading handling.cfg only at a line \";the end\", and this file has none, so it reads on past the file's end."},
    {EndWithoutLineEnd, cfg, File, "The line \";the end\" has no line end after it, so the game may read on past the file's end."},
    {LineTooLong, cfg, Line, "Line {1} has {2} characters; the game reads at most 200 a line and may crash on it."},
    // A record's values: as many as its kind holds, numbers where the game reads numbers.
    {FewerValues, cfg, Line, "This record holds {1} of its {2} values; the game leaves the missing ones to chance."},
    {NotANumber, cfg, Value, "The game reads this value as {1}, since \"{2}\" is no number."},
    // The games know a fixed list of vehicles, and keep one record for each.
    {UnknownIdentifier, cfg, Line, "The game knows no vehicle {1} and cannot use this record without an extension that adds vehicles."},
    {RepeatedIdentifier, cfg, Line, "{1} has a record on line {2} already; the game uses only one of them."},
    {NoRecordForIde, cfg, File, "default.ide's vehicles name {1}, which this file has no record for, so the game may crash at start."},
    // default.ide's cars section: a vehicle's model id, its type and its fields.
    {IdOutsideRange, ide, Value, "The game's vehicle ids run from {1} to {2}; it cannot use {3} without an extension that adds vehicles."},
    {RepeatedModelId, ide, Value, "Model id {1} is on line {2} already; the game keeps only one of the two vehicles."},
    {UnknownType, ide, Value, "The game knows no vehicle type \"{1}\" (only {2}) and may crash at start."},
    {TooFewFields, ide, Line, "A {1} holds {2} values in {3} and this line only {4}; the game leaves the rest to chance."},
    {TooManyFields, ide, Line, "A {1} holds {2} values in {3} and this line {4}; the game may read them into the wrong fields."},
    {NoHandlingRecord, ide, Value, "handling.cfg has no record for {1}, so the game may crash at start."},
    {GameNameTooLong, ide, Value, "The game keeps at most 7 characters of a game name, and \"{1}\" has {2}, which spill over into the vehicle's other data."},
    {UnknownClass, ide, Value, "The game knows no class \"{1}\" and leaves this vehicle without one."},
    {UnknownWheel, ide, Value, "Model {1} is none of the game's wheels ({2}), so the car may have no wheels or crash the game."},
    // A save that would give the game a handling.cfg it reads past its limits asks first.
    {SaveTooLarge, cfg, Save, "The game reads at most 55,000 bytes of handling.cfg; this file would be {1} bytes."},
    {SaveLineTooLong, cfg, Save, "The game reads at most 200 characters a line of handling.cfg; this file would have a line of {1} characters."},
    {SaveWithoutEnd, cfg, Save, "The game stops reading handling.cfg only at a line \";the end\", which this file would no longer have."},
};

// default.ide's fields: model id, model name, TXD name, type, handling identifier, game name, in
// Vice City the animations, then class, frequency, level, component rules, wheel model id and
// wheel scale. A plane has no wheel scale, a boat, a helicopter and a train no wheel fields.
struct VehicleType {
    std::string_view name;
    int gta3Fields;  // 0: the game has no such type
    int viceFields;
};
constexpr VehicleType kTypes[] = {
    {"car", 12, 13}, {"boat", 10, 11}, {"train", 10, 0}, {"heli", 10, 11}, {"plane", 11, 12}, {"bike", 0, 13},
};

// GTA III's own default.ide gives its taxis the class taxi.
struct VehicleClass {
    std::string_view name;
    bool gta3;  // Vice City knows every one
};
constexpr VehicleClass kClasses[] = {
    {"big", true},     {"executive", true},   {"ignore", true},     {"poorfamily", true}, {"richfamily", true},
    {"special", true}, {"worker", true},      {"taxi", true},       {"leisureboat", false}, {"moped", false},
    {"motorbike", false}, {"normal", false},  {"workerboat", false},
};

struct Wheels {
    int first, last;
};
constexpr Wheels kGta3Wheels[] = {{160, 166}};
constexpr Wheels kViceWheels[] = {{237, 239}, {250, 256}};

template <class F>
void ForWheels(Game game, F f)
{
    if (game == Game::Gta3)
        for (const Wheels& wheels : kGta3Wheels)
            f(wheels);
    else
        for (const Wheels& wheels : kViceWheels)
            f(wheels);
}

}  // namespace

const GameRuleEntry& RuleEntry(GameRule rule)
{
    for (const GameRuleEntry& entry : kRules)
        if (entry.rule == rule)
            return entry;
    return kRules[0];
}

std::string Say(GameRule rule, std::initializer_list<std::string_view> names)
{
    const std::string_view says = RuleEntry(rule).says;
    std::string text;
    for (size_t i = 0; i < says.size(); ++i) {
        const size_t which = says[i] == '{' && i + 2 < says.size() && says[i + 2] == '}' ? size_t(says[i + 1] - '1') : names.size();
        if (which < names.size()) {
            text += std::data(names)[which];
            i += 2;
        } else {
            text += says[i];
        }
    }
    return text;
}

int IdeFieldCount(Game game, std::string_view type)
{
    for (const VehicleType& known : kTypes)
        if (known.name == type)
            return game == Game::Gta3 ? known.gta3Fields : known.viceFields;
    return 0;
}

std::string IdeTypesText(Game game)
{
    std::string text;
    for (const VehicleType& known : kTypes) {
        if ((game == Game::Gta3 ? known.gta3Fields : known.viceFields) == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += known.name;
    }
    const size_t last = text.rfind(", ");
    return text.substr(0, last) + " or" + text.substr(last + 1);
}

bool KnowsClass(Game game, std::string_view vehicleClass)
{
    for (const VehicleClass& known : kClasses)
        if (known.name == vehicleClass)
            return known.gta3 || game == Game::ViceCity;
    return false;
}

bool IsWheel(Game game, int modelId)
{
    bool wheel = false;
    ForWheels(game, [&](const Wheels& wheels) { wheel = wheel || (modelId >= wheels.first && modelId <= wheels.last); });
    return wheel;
}

std::string WheelsText(Game game)
{
    std::string text;
    ForWheels(game, [&](const Wheels& wheels) {
        text += (text.empty() ? "" : " and ") + std::to_string(wheels.first) + " to " + std::to_string(wheels.last);
    });
    return text;
}

int IdeClassField(Game game)
{
    return game == Game::Gta3 ? 6 : 7;
}

int IdeWheelField(Game game)
{
    return game == Game::Gta3 ? 10 : 11;
}

std::string Grouped(long long number)
{
    std::string digits = std::to_string(number < 0 ? -number : number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return number < 0 ? "-" + digits : digits;
}

}  // namespace revlane
