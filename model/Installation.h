#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "Ports.h"
#include "Views.h"

// Which game is chosen and where its installation lies, and the decisions made on it: what a
// folder holds, where an installation's two files are, and what the remembered settings mean.
namespace revlane {

namespace errorcode {
// A remembered window state that is no window state.
constexpr int InvalidWindowState = 1101;
}  // namespace errorcode

// An installation is recognised by its executable in the folder itself.
inline constexpr std::string_view Gta3ExeName = "gta3.exe";
inline constexpr std::string_view ViceExeName = "gta-vc.exe";

inline constexpr std::string_view NoGameInFolderMessage =
    "The selected folder does not contain any valid GTA executable file. Please select the correct GTA folder.";

std::filesystem::path ExecutablePath(const std::filesystem::path& folder, Game game);
// The installation's data\default.ide and data\handling.cfg.
std::filesystem::path DefaultFilePath(const std::filesystem::path& folder);
std::filesystem::path HandlingFilePath(const std::filesystem::path& folder);

// A folder that holds a game's executable.
struct FoundInstallation {
    Game game;
    std::filesystem::path folder;
    std::filesystem::path exe;
};

// The game whose executable the folder holds. GTA III wins when the folder holds both; an
// empty folder text is no folder (it would name the current folder).
std::optional<FoundInstallation> FindInstallation(const std::filesystem::path& folder, FileSystem& files);

// The installation state the main window keeps for the whole run. The paths of both games are
// kept at once; ViceMode says which one is chosen (false also while none has been chosen yet).
struct Installation {
    bool ViceMode = false;
    std::filesystem::path Gta3Path;
    std::filesystem::path Gta3Exe;
    std::filesystem::path VicePath;
    std::filesystem::path ViceExe;
    // The chosen installation's two files, set by SetUpFiles.
    std::filesystem::path DefaultFile;
    std::filesystem::path HandlingFile;

    Game ChosenGame() const { return ViceMode ? Game::ViceCity : Game::Gta3; }
    const std::filesystem::path& FolderOf(Game game) const { return game == Game::ViceCity ? VicePath : Gta3Path; }
    const std::filesystem::path& ExeOf(Game game) const { return game == Game::ViceCity ? ViceExe : Gta3Exe; }
    const std::filesystem::path& ChosenFolder() const { return FolderOf(ChosenGame()); }
    const std::filesystem::path& ChosenExe() const { return ExeOf(ChosenGame()); }

    // Whether the chosen game's remembered executable is there. Only that path is tested: a
    // remembered folder is taken as it is.
    bool ChosenGameInstalled(FileSystem& files) const;
    // Points DefaultFile and HandlingFile into the chosen game's folder.
    void SetUpFiles();
    // Takes a found installation as its game's and chooses that game. The caller remembers
    // the folder and executable in the settings.
    void Adopt(const FoundInstallation& found);

    // What Browse decides for the chosen folder: the installation it holds is adopted and
    // returned; a folder without a game executable is told to the user and changes nothing.
    std::optional<FoundInstallation> Browse(const std::filesystem::path& folder, FileSystem& files,
                                            MessagePort& messages);
};

// The main window's state as it is remembered, with the values that are stored for it.
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The remembered "WindowState": the leading number of the text (0 when it has none, an empty
// text included), rounded to the nearest whole number, a tie going to the even one. Throws a
// ModelError (errorcode::InvalidWindowState) when that is not 0, 1 or 2.
WindowState ParseWindowState(std::string_view text);
std::string WindowStateText(WindowState state);

// The remembered "LastUsed": "GTA3" or "ViceCity" exactly; anything else chooses no game.
std::optional<Game> ParseLastUsed(std::string_view text);
// What shutdown remembers: the chosen game, GTA III also when none was ever chosen.
std::string LastUsedText(bool viceMode);

}  // namespace revlane
