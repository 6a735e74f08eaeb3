#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include "CompareFigures.h"
#include "CheckFigures.h"
#include "Figures.h"
#include "Peer.h"
#include "Window.h"

// revlane-bench: measures each figure of Revlane's performance against its floor, in turns in
// one run, and prints one line per figure. ./bench builds and runs it.
namespace {

using namespace revlane;
using namespace revlane::bench;
namespace fs = std::filesystem;

std::string LoadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    std::string one, five, fifteen;
    loadavg >> one >> five >> fifteen;
    return one + ", " + five + ", " + fifteen;
}

// A child's last word: what it printed goes out now, and nothing it holds is given back one
// piece at a time, which for a million lines takes longer than the gesture measured.
int Child(int status)
{
    std::fflush(stdout);
    std::_Exit(status);
}

std::string Machine()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    std::string model = "unknown processor";
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    std::ostringstream out;
    out << model << ", " << std::thread::hardware_concurrency() << " cores; load average " << LoadAverage();
    return out.str();
}

}  // namespace

int main(int argc, char* argv[])
{
    // The children that measure one sample each in a fresh process; see Figures.h.
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (argc == 5 && mode == "--peak-child") {
            QApplication app(argc, argv);
            return PeakMemoryChild(argv[3], argv[4], std::string(argv[2]) == "empty");
        }
        if (argc == 4 && mode == "--open-child")
            return Child(OpenChild(argv[2], argv[3]));
        if (argc == 8 && mode == "--compare-child") {
            QApplication app(argc, argv);
            return Child(CompareChild(argv[2], argv[3], argv[4], argv[5], argv[6], std::string(argv[7]) == "check"));
        }
        if (argc == 5 && mode == "--check-child") {
            QApplication app(argc, argv);
            return Child(GameCheckChild(argv[2], argv[3], argv[4]));
        }
        if (argc == 8 && mode == "--gesture-child") {
            QApplication app(argc, argv);
            return Child(GestureChild(argv[2], argv[3], argv[4], argv[5], argv[6], std::string(argv[7]) == "check"));
        }
    } catch (const std::exception& e) {
        std::cerr << "revlane-bench " << mode << ": " << e.what() << "\n";
        return 2;
    }

    // The windows measured here are drawn offscreen; started programs are told their platform.
    const bool haveDisplay = std::getenv("DISPLAY") != nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures Revlane against the floors of the same work."));
    parser.addHelpOption();
    const QCommandLineOption check(QStringLiteral("check"), QStringLiteral("Exit non-zero when a figure is short."));
    const QCommandLineOption xvfb(QStringLiteral("xvfb"),
                                  QStringLiteral("Also time start-up on the X server in DISPLAY (an Xvfb)."));
    const QCommandLineOption fixturesOption(QStringLiteral("fixtures"), QStringLiteral("The games' stock files."),
                                            QStringLiteral("folder"), QStringLiteral(REVLANE_FIXTURES_DIR));
    const QCommandLineOption workOption(QStringLiteral("work"), QStringLiteral("Where the files measured are made."),
                                        QStringLiteral("folder"), QStringLiteral(REVLANE_BENCH_WORK_DIR));
    const QCommandLineOption onlyOption(QStringLiteral("only"),
                                        QStringLiteral("Only one group: startup, stock, large, check, gestures, memory or compare."),
                                        QStringLiteral("group"));
    parser.addOptions({check, xvfb, fixturesOption, workOption, onlyOption});
    parser.process(app);

    const fs::path fixtures = parser.value(fixturesOption).toStdString();
    const fs::path work = parser.value(workOption).toStdString();
    const fs::path self = QCoreApplication::applicationFilePath().toStdString();
    const QString only = parser.value(onlyOption);
    const auto group = [&](const char* name) { return only.isEmpty() || only == QLatin1String(name); };
    if (!fs::exists(fixtures / "vc" / "data" / "handling.cfg")) {
        std::cerr << "No stock files in " << fixtures << ": give their folder with --fixtures.\n";
        return 2;
    }
    fs::create_directories(work);

    std::cout << "Machine: " << Machine() << "\n";
    Table table;
    Table::PrintHeader(std::cout);
    const auto report = [&] { table.PrintNew(std::cout); };
    try {
        if (group("startup")) {
            const Rounds rounds{11, 41, 8.0};
            // What the window's thirty controls in two weights of its font cost Qt to lay out and
            // paint, kept as a guard against regressions: none of it is Revlane's own code.
            StartupFigures(table, REVLANE_BENCH_PROGRAM, REVLANE_BENCH_BARE, work, "offscreen", 1.35, 1.15, rounds);
            report();
            if (parser.isSet(xvfb) && haveDisplay) {
                StartupFigures(table, REVLANE_BENCH_PROGRAM, REVLANE_BENCH_BARE, work, "xcb", 1.25, 1.15, rounds);
                report();
            } else {
                std::cout << "(no Xvfb: start-up timed offscreen only; ./bench uses xvfb-run where it is installed)\n";
            }
        }
        if (group("stock")) {
            const Rounds modelRounds{31, 2000, 1.5};
            const Rounds windowRounds{21, 400, 2.0};
            const Rounds saveRounds{15, 100, 3.0};
            for (const Game game : {Game::Gta3, Game::ViceCity}) {
                const BenchInstall install = InstallStock(fixtures, work, game, game == Game::Gta3 ? "gta3" : "vice");
                const auto kinds = {FileKind::DefaultIde, FileKind::HandlingCfg};
                for (const FileKind kind : kinds) {
                    const double limit = kind == FileKind::DefaultIde ? 2 : 3;
                    ModelOpenFigure(table, install, kind, limit, modelRounds);
                    ModelReloadFigure(table, install, kind, limit, modelRounds);
                    report();
                }
                BenchWindow window(install, work);
                window.Click(FileKind::HandlingCfg);
                UntilIdle();
                PeerWindow peer(FileKind::HandlingCfg, game, ShapeOf(window));
                peer.show();
                UntilIdle();
                for (const FileKind kind : kinds) {
                    WindowOpenFigure(table, window, peer, install, kind, windowRounds);
                    report();
                }
                for (const FileKind kind : kinds) {
                    SaveFigures(table, window, install, kind, 1.2, saveRounds);
                    report();
                }
            }
        }
        std::optional<GridShape> shape;
        for (const int lines : {10'000, 100'000, 1'000'000}) {
            const bool small = lines == 10'000;
            const bool huge = lines == 1'000'000;
            if (!(group("gestures") || (!small && group("large")) || (huge && (group("memory") || group("check") || group("compare")))))
                continue;
            const BenchInstall install = InstallLarge(fixtures, work, lines, "large-" + std::to_string(lines));
            if (group("large") && !small) {
                const Rounds rounds = huge ? Rounds{7, 9, 1.0} : Rounds{11, 51, 3.0};
                ModelOpenChildFigure(table, install, work, self, 2, huge ? 7 : 11);
                ModelReloadFigure(table, install, FileKind::HandlingCfg, 2, rounds);
                report();
                BenchWindow window(install, work);
                SaveFigures(table, window, install, FileKind::HandlingCfg, 1.2, rounds);
                report();
            }
            if (huge && (group("large") || group("check"))) {
                GameCheckFigures(table, install, work, self, 7);
                report();
            }
            if (group("gestures") || (huge && group("compare"))) {
                if (!shape) {
                    BenchWindow window(install, work);
                    window.Click(FileKind::HandlingCfg);
                    UntilIdle();
                    shape = ShapeOf(window);
                }
            }
            if (group("gestures")) {
                GestureFigures(table, install, work, self, huge, *shape, huge ? 5 : small ? 9 : 7);
                report();
            }
            if (huge && group("compare")) {
                CompareFigures(table, install, work, self, *shape, 5);
                report();
            }
            if (huge && group("memory")) {
                PeakMemoryFigure(table, install, work, self, 1.6);
                report();
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "revlane-bench: " << e.what() << "\n";
        return 2;
    }
    const bool ok = table.AllOk() && LoudErrors::Count() == 0;
    std::cout << (ok ? "Every figure within its goal.\n" : "Some figures fall short of their goals (SHORT).\n");
    std::cout << "Load average at the end: " << LoadAverage() << "\n";
    return parser.isSet(check) && !ok ? 1 : 0;
}
