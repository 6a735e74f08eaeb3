#include <QApplication>
#include <QPushButton>
#include <QString>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <iostream>
#include <stdexcept>

#include "Figures.h"
#include "FirstFrame.h"
#include "GridView.h"
#include "Window.h"

extern char** environ;

namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

struct Run {
    double msToFirstLine = 0;
    std::string firstLine;
    std::string output;
    int status = 0;
};

// Starts a program with the environment changed as given, and times it until it prints its
// first line; gives all it printed. Its errors go to `errors`: a program that prints nothing
// fails the measurement.
Run SpawnUntilFirstLine(const std::vector<std::string>& args, const std::vector<std::string>& setEnv,
                        const std::string& errors = "/dev/null")
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& set : setEnv)
            replaced = replaced || entry.compare(0, set.find('=') + 1, set, 0, set.find('=') + 1) == 0;
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), setEnv.begin(), setEnv.end());
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0)
        throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    Run run;
    pid_t pid = 0;
    const auto start = Clock::now();
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(spawned));
    }
    std::string output;
    char buffer[4096];
    bool timed = false;
    for (;;) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buffer, static_cast<size_t>(n));
        if (!timed && output.find('\n') != std::string::npos) {
            run.msToFirstLine = MillisecondsSince(start);
            timed = true;
        }
    }
    ::close(out[0]);
    ::waitpid(pid, &run.status, 0);
    if (!timed)
        throw std::runtime_error(args[0] + " printed nothing (exit status " + std::to_string(run.status) + ")");
    run.firstLine = output.substr(0, output.find('\n'));
    run.output = std::move(output);
    return run;
}

// "... <number> KiB" at the end of the line the program printed, in MiB.
double PeakMiB(const std::string& line)
{
    const size_t end = line.rfind(" KiB");
    const size_t begin = line.rfind(' ', end - 1);
    if (end == std::string::npos || begin == std::string::npos)
        throw std::runtime_error("no peak memory in: " + line);
    return std::stod(line.substr(begin + 1, end - begin - 1)) / 1024.0;
}

}  // namespace

std::map<std::string, std::string> RunChild(const std::vector<std::string>& args, const fs::path& work)
{
    const fs::path errors = work / "child-errors.log";
    const Run run = SpawnUntilFirstLine(args, {"QT_QPA_PLATFORM=offscreen"}, errors.string());
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
        std::ifstream log(errors);
        const std::string said((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        throw std::runtime_error("a measuring child failed (" + args[1] + " " + args[2] + "):\n" + said);
    }
    std::map<std::string, std::string> said;
    std::istringstream lines(run.output);
    for (std::string name, value; lines >> name >> value;)
        said[name] = value;
    return said;
}

void StartupFigures(Table& table, const fs::path& revlane, const fs::path& bare, const fs::path& work,
                    const std::string& platform, double timeLimit, double memoryLimit, Rounds rounds)
{
    const std::string option = "--quit-after-first-frame";
    int runs = 0;
    std::vector<double> memory[2];
    const auto start = [&](const fs::path& program, int which) {
        // A settings folder of its own, empty, for every start.
        const fs::path config = work / ("startup-config-" + std::to_string(runs++));
        fs::remove_all(config);
        fs::create_directories(config);
        const Run run = SpawnUntilFirstLine({program.string(), option},
                                            {"QT_QPA_PLATFORM=" + platform, "XDG_CONFIG_HOME=" + config.string()});
        fs::remove_all(config);
        memory[which].push_back(PeakMiB(run.firstLine));
        return run.msToFirstLine;
    };
    // Once each untimed, so that both find the system's caches alike.
    start(revlane, 0);
    start(bare, 1);
    memory[0].clear();
    memory[1].clear();
    // Timed to the line each prints at its first frame, not to its end: what the program does
    // on its way out (it stores its settings) is no part of its start.
    std::vector<double> times[2];
    const auto begin = Clock::now();
    for (int round = 0; round < rounds.maxRounds; ++round) {
        if (round >= rounds.minRounds && MillisecondsSince(begin) > rounds.budgetSeconds * 1000)
            break;
        for (int i = 0; i < 2; ++i) {
            const int which = (round + i) % 2;
            times[which].push_back(start(which == 0 ? revlane : bare, which));
        }
    }
    const Medians m{Median(times[0]), Median(times[1])};
    const std::string where = platform == "xcb" ? "Xvfb" : platform;
    table.Add({"start-up to first frame (" + where + ")", m.value, m.floor, "ms", Goal::RatioAtMost, timeLimit,
               "floor: bare QMainWindow + QLabel"});
    table.Add({"start-up peak memory (" + where + ")", Median(memory[0]), Median(memory[1]), "MiB",
               Goal::RatioAtMost, memoryLimit, "floor: the bare program's"});
}

void PeakMemoryFigure(Table& table, const BenchInstall& install, const fs::path& work, const fs::path& self,
                      double limit)
{
    const auto peak = [&](const char* mode) {
        return PeakMiB(SpawnUntilFirstLine({self.string(), "--peak-child", mode, install.folder.string(), work.string()},
                                           {"QT_QPA_PLATFORM=offscreen"})
                           .firstLine);
    };
    std::vector<double> open;
    std::vector<double> empty;
    for (int i = 0; i < 3; ++i) {
        empty.push_back(peak("empty"));
        open.push_back(peak("open"));
    }
    const double file = static_cast<double>(FileSize(install.File(FileKind::HandlingCfg))) / (1024.0 * 1024.0);
    const double emptyMiB = Median(empty);
    const double openMiB = Median(open);
    char note[128];
    std::snprintf(note, sizeof note, "value: peak %.0f MiB less the empty program's %.0f MiB; floor: the file", openMiB,
                  emptyMiB);
    table.Add({"peak memory, " + install.label + " handling.cfg open and saved", openMiB - emptyMiB, file, "MiB",
               Goal::RatioAtMost, limit, note});
}

int PeakMemoryChild(const fs::path& folder, const fs::path& work, bool empty)
{
    BenchInstall install{"", Game::ViceCity, folder, folder / "gta-vc.exe"};
    BenchWindow window(install, work);
    if (!empty) {
        window.Click(FileKind::HandlingCfg);
        UntilIdle();
        if (!window.File().IsOpen())
            throw std::runtime_error("the large file was not read");
        EditLast(window.Grid(), QStringLiteral("1000.0"));
        UntilIdle();
        window.SaveButton()->click();
        UntilIdle();
    }
    std::printf("peak memory %ld KiB\n", ui::QuitAfterFirstFrame::PeakKiB());
    return LoudErrors::Count() == 0 ? 0 : 1;
}

}  // namespace revlane::bench
