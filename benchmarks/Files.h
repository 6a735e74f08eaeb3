#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Ports.h"
#include "Views.h"

// The files the benchmarks read and write: the games' stock files copied into game
// installations in a work folder, and large handling.cfg files made from the stock one.
namespace revlane::bench {

// A game installation laid out in the work folder, with its executable and both data files.
struct BenchInstall {
    std::string label;  // as the table names it, such as "GTA III" or "1,000,000 lines"
    Game game;
    std::filesystem::path folder;
    std::filesystem::path exe;
    std::filesystem::path File(FileKind kind) const;
};

// Copies the stock files of `game` from the fixtures folder into work/<name>.
BenchInstall InstallStock(const std::filesystem::path& fixtures, const std::filesystem::path& work, Game game,
                          const std::string& name);

// A Vice City installation whose handling.cfg has `lines` lines: the stock file's vehicle section
// repeated between its own head and tail.
BenchInstall InstallLarge(const std::filesystem::path& fixtures, const std::filesystem::path& work, int lines,
                          const std::string& name);

std::uintmax_t FileSize(const std::filesystem::path& path);

// Answers every question with OK, Yes or the like at once, as a user who reads nothing.
class QuietMessages : public MessagePort {
public:
    MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    int shown = 0;
};

// An internal error spoils a measurement: it is printed, and the run fails at its end.
class LoudErrors : public InternalErrorPort {
public:
    std::string OsName() override { return "bench"; }
    void ShowInternalError(const std::string& report) override;
    static int Count();
};

class FixedClock : public ClockPort {
public:
    std::string LongDate() override { return "Sunday, 6 December 2026"; }
    std::string LongTime() override { return "12:00:00"; }
};

}  // namespace revlane::bench
