#include "Installation.h"

#include <charconv>
#include <cmath>

#include "ErrorReport.h"
#include "Text.h"

namespace revlane {

std::filesystem::path ExecutablePath(const std::filesystem::path& folder, Game game)
{
    return folder / (game == Game::ViceCity ? ViceExeName : Gta3ExeName);
}

std::filesystem::path DefaultFilePath(const std::filesystem::path& folder)
{
    return folder / "data" / "default.ide";
}

std::filesystem::path HandlingFilePath(const std::filesystem::path& folder)
{
    return folder / "data" / "handling.cfg";
}

std::optional<FoundInstallation> FindInstallation(const std::filesystem::path& folder, FileSystem& files)
{
    if (folder.empty())
        return std::nullopt;
    for (const Game game : {Game::Gta3, Game::ViceCity}) {
        std::filesystem::path exe = ExecutablePath(folder, game);
        if (files.Exists(exe))
            return FoundInstallation{game, folder, std::move(exe)};
    }
    return std::nullopt;
}

bool Installation::ChosenGameInstalled(FileSystem& files) const
{
    const std::filesystem::path& exe = ChosenExe();
    return !exe.empty() && files.Exists(exe);
}

void Installation::SetUpFiles()
{
    DefaultFile = DefaultFilePath(ChosenFolder());
    HandlingFile = HandlingFilePath(ChosenFolder());
}

void Installation::Adopt(const FoundInstallation& found)
{
    if (found.game == Game::ViceCity) {
        VicePath = found.folder;
        ViceExe = found.exe;
    } else {
        Gta3Path = found.folder;
        Gta3Exe = found.exe;
    }
    ViceMode = found.game == Game::ViceCity;
}

std::optional<FoundInstallation> Installation::Browse(const std::filesystem::path& folder, FileSystem& files,
                                                      MessagePort& messages)
{
    std::optional<FoundInstallation> found = FindInstallation(folder, files);
    if (!found) {
        messages.ShowMessage(std::string(NoGameInFolderMessage), MsgButtons::OK, MsgIcon::Critical);
        return std::nullopt;
    }
    Adopt(*found);
    return found;
}

namespace {

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The number the text begins with, after blanks: an optional sign, digits with an optional
// decimal point, an optional exponent. A text that begins with no number gives 0. Returns
// nothing for a number too large (or too small) for a double.
std::optional<double> LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlankChar(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && text::IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text::IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && text::IsDigit(text[j])) {
            while (j < text.size() && text::IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    // from_chars, unlike strtod, reads the same whatever the user's locale.
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + i)
        return std::nullopt;
    return negative ? -value : value;
}

// Rounds to the nearest whole number; a tie goes to the even one.
double RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// The stored text as a report may quote it: short, and not cut inside a UTF-8 character.
std::string Quoted(std::string_view text)
{
    constexpr std::size_t limit = 40;
    if (text.size() <= limit)
        return "'" + std::string(text) + "'";
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return "'" + std::string(text.substr(0, cut)) + "...'";
}

}  // namespace

WindowState ParseWindowState(std::string_view text)
{
    const std::optional<double> number = LeadingNumber(text);
    if (number) {
        const double rounded = RoundHalfEven(*number);
        if (rounded == 0.0)
            return WindowState::Normal;
        if (rounded == 1.0)
            return WindowState::Minimized;
        if (rounded == 2.0)
            return WindowState::Maximized;
    }
    throw ModelError(errorcode::InvalidWindowState,
                     "The remembered window state " + Quoted(text)
                         + " is not 0 (normal), 1 (minimized) or 2 (maximized)");
}

std::string WindowStateText(WindowState state)
{
    return std::to_string(static_cast<int>(state));
}

std::optional<Game> ParseLastUsed(std::string_view text)
{
    if (text == "GTA3")
        return Game::Gta3;
    if (text == "ViceCity")
        return Game::ViceCity;
    return std::nullopt;
}

std::string LastUsedText(bool viceMode)
{
    return viceMode ? "ViceCity" : "GTA3";
}

}  // namespace revlane
