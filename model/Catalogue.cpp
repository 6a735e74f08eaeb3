#include "Catalogue.h"

#include "StringTable.h"

#include <iterator>

namespace revlane {

namespace {

struct Column {
    const char* letter;
    const char* name;
    const char* hint;  // nullptr: no hint is written for the column
};

const Column kHandlingColumns[32] = {
    {"A", "vehicle identifier", "[14 characters max]"},
    {"B", "fMass", "[1.0 to 50000.0]"},
    {"C", "Dimensions.x", "[0.0 > x > 20.0]"},
    {"D", "Dimensions.y", "[0.0 > x > 20.0]"},
    {"E", "Dimensions.z", "[0.0 > x > 20.0]"},
    {"F", "CentreOfMass.x", "[-9.9 > x > 10.0]"},
    {"G", "CentreOfMass.y", "[-9.9 > x > 10.0]"},
    {"H", "CentreOfMass.z", "[-9.9 > x > 10.0]"},
    {"I", "nPercentSubmerged", "[10 to 120]"},
    {"J", "fTractionMultiplier", "[0.5 to 2.0]"},
    // The games' own file header names this field and its range so.
    {"K", "fTractionLoss", "[0.0 > x > 1.0]"},
    {"L", "fTractionBias", "[0.0 > x > 1.0]"},
    {"M", "TransmissionData.nNumberOfGears", "[1 to 4]"},
    {"N", "TransmissionData.fMaxVelocity", "[5.0 to 150.0]"},
    {"O", "TransmissionData.fEngineAcceleration", "[0.1 to 10.0]"},
    {"P", "TransmissionData.nDriveType", "[F/R/4]"},
    {"Q", "TransmissionData.nEngineType", "[P/D/E]"},
    {"R", "fBrakeDeceleration", "[0.1 to 10.0]"},
    {"S", "fBrakeBias", "[0.0 > x > 1.0]"},
    {"T", "bABS", "[0/1]"},
    {"U", "fSteeringLock", "[10.0 to 40.0]"},
    {"V", "fSuspensionForceLevel", "not [L/M/H]"},
    {"W", "fSuspensionDampingLevel", "not [L/M/H]"},
    {"X", "fSeatOffsetDistance", "ped seat position offset towards centre of car"},
    {"Y", "fCollisionDamageMultiplier", "[0.2 to 5.0]"},
    {"Z", "nMonetaryValue", "[1 to 100000]"},
    {"AA", "suspension upper limit", nullptr},
    {"AB", "suspension lower limit", nullptr},
    {"AC", "suspension bias between front and rear", nullptr},
    {"AD", "flags", nullptr},
    {"AE", "front lights", "0=long, 1=small, 2=big, 3=tall"},
    {"AF", "rear lights", "0=long, 1=small, 2=big, 3=tall"},
};

// The letters over a boat's, bike's or aircraft's columns.
const char* const kRecordLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J",
                                      "K", "L", "M", "N", "O", "P", "Q", "R", "S"};

constexpr int kLetter = 9;
constexpr int kName = 41;
constexpr int kHint = 73;
constexpr int kExtraLetter = 105;
constexpr int kExtraName = 106;

}  // namespace

void CaptionTable::Fill()
{
    for (int k = 0; k < 32; ++k) {
        entries_[kLetter + k] = kHandlingColumns[k].letter;
        entries_[kName + k] = kHandlingColumns[k].name;
        if (kHandlingColumns[k].hint)
            entries_[kHint + k] = kHandlingColumns[k].hint;
    }
    entries_[kExtraLetter] = "AG";
    entries_[kExtraName] = "suspension anti-dive multiplier";
}

const std::string& CaptionTable::Entry(int index) const
{
    static const std::string empty;
    return index >= 0 && index < Size ? entries_[static_cast<size_t>(index)] : empty;
}

CaptionTable::Header CaptionTable::HandlingHeader(Game game, int col) const
{
    if (game == Game::Gta3 || col < 29) {
        if (col < 0 || col > 31)
            return {};
        return {Entry(kLetter + col), Entry(kName + col), Entry(kHint + col)};
    }
    // Vice City's extra field sits at AD; flags and the two light fields move one to the right.
    switch (col) {
    case 29: return {Entry(kLetter + 29), Entry(kExtraName), std::string_view()};
    case 30: return {Entry(kLetter + 30), Entry(kName + 29), std::string_view()};
    case 31: return {Entry(kLetter + 31), Entry(kName + 30), Entry(kHint + 30)};
    case 32: return {Entry(kExtraLetter), Entry(kName + 31), Entry(kHint + 31)};
    default: return {};
    }
}

const std::string& DefaultCaption(Game game, int col)
{
    static const std::string empty;
    if (col < 1)
        return empty;
    return LoadResString((game == Game::Gta3 ? 400 : 420) + col);
}

RecordCaption RecordColumnCaption(RecordKind kind, int col)
{
    static const char* const boat[] = {"ID", "ThrustY", "ThrustZ", "ThrustAppZ", "AqPlaneForce", "AqPlaneLimit",
                                       "AqPlaneOffset", "WaveAudioMult", "MoveResX", "MoveResY", "MoveResZ",
                                       "TurnResX", "TurnResY", "TurnResZ", "Look_L_R_BehindCamHeight"};
    static const char* const bike[] = {"ID", "LeanFwdCOM", "LeanFwdForce", "LeanBakCOM", "LeanBackForce", "MaxLean",
                                       "FullAnimLean", "DesLean", "SpeedSteer", "SlipSteer", "NoPlayerCOMz",
                                       "WheelieAng", "StoppieAng", "WheelieSteer", "WheelieStabMult", "StoppieStabMult"};
    static const char* const aircraft[] = {"id", "Thrust", "ThrustFallOff", "Yaw", "YawStab", "SideSlip", "Roll",
                                           "RollStab", "Pitch", "PitchStab", "FormLift", "AttackLift", "MoveRes",
                                           "TurnRes.x", "TurnRes.y", "TurnRes.z", "SpeedRes.x", "SpeedRes.y", "SpeedRes.z"};
    const auto at = [col](const auto& names) -> RecordCaption {
        if (col < 0 || col >= static_cast<int>(std::size(names)))
            return {};
        return {kRecordLetters[col], names[col]};
    };
    switch (kind) {
    case RecordKind::Boat: return at(boat);
    case RecordKind::Bike: return at(bike);
    case RecordKind::Aircraft: return at(aircraft);
    case RecordKind::Vehicle: break;
    }
    return {};
}

bool HoldsNumbers(FileKind kind, Game game, int col, RecordKind record)
{
    // Every value of a boat's, bike's or aircraft's record is a number.
    if (record != RecordKind::Vehicle)
        return col >= 1;
    if (kind == FileKind::DefaultIde) {
        // The frequency, the level, the wheels' model and their scale; comprules is hexadecimal.
        const int frequency = game == Game::Gta3 ? 7 : 8;
        return col == frequency || col == frequency + 1 || col == frequency + 3 || col == frequency + 4;
    }
    // The drive and engine types are letters, the flags hexadecimal.
    const int flags = game == Game::Gta3 ? 29 : 30;
    return col >= 1 && col != 15 && col != 16 && col != flags;
}

}  // namespace revlane
