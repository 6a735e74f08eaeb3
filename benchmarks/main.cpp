#include <QApplication>
#include <QCommandLineParser>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "Figures.h"
#include "Window.h"

// revlane-bench: measures each figure of Revlane's performance against its floor, in turns in
// one run, and prints one line per figure. ./bench builds and runs it.
namespace {

using namespace revlane;
using namespace revlane::bench;
namespace fs = std::filesystem;

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
    std::ifstream loadavg("/proc/loadavg");
    std::string one, five, fifteen;
    loadavg >> one >> five >> fifteen;
    std::ostringstream out;
    out << model << ", " << std::thread::hardware_concurrency() << " cores; load average " << one << ", " << five
        << ", " << fifteen;
    return out.str();
}

}  // namespace

int main(int argc, char* argv[])
{
    // The child that reports the peak memory of a window with the large file open.
    if (argc == 5 && std::string(argv[1]) == "--peak-child") {
        QApplication app(argc, argv);
        return PeakMemoryChild(argv[3], argv[4], std::string(argv[2]) == "empty");
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
                                        QStringLiteral("Only one group: startup, stock, large or memory."),
                                        QStringLiteral("group"));
    parser.addOptions({check, xvfb, fixturesOption, workOption, onlyOption});
    parser.process(app);

    const fs::path fixtures = parser.value(fixturesOption).toStdString();
    const fs::path work = parser.value(workOption).toStdString();
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
        CaptionTable captions;
        captions.Fill();
        if (group("stock")) {
            const Rounds modelRounds{31, 2000, 1.5};
            const Rounds windowRounds{21, 400, 2.0};
            const Rounds saveRounds{15, 100, 3.0};
            for (const Game game : {Game::Gta3, Game::ViceCity}) {
                const BenchInstall install = InstallStock(fixtures, work, game, game == Game::Gta3 ? "gta3" : "vice");
                const auto kinds = {FileKind::DefaultIde, FileKind::HandlingCfg};
                for (const FileKind kind : kinds) {
                    ModelOpenFigure(table, install, kind, captions, kind == FileKind::DefaultIde ? 2 : 3, modelRounds);
                    report();
                }
                BenchWindow window(install, work);
                for (const FileKind kind : kinds) {
                    WindowOpenFigure(table, window, install, kind, captions, 1.05, false, windowRounds);
                    report();
                }
                for (const FileKind kind : kinds) {
                    SaveFigure(table, window, install, kind, 1.2, saveRounds);
                    report();
                }
            }
        }
        if (group("large") || group("memory")) {
            for (const int lines : {100'000, 1'000'000}) {
                const BenchInstall install =
                    InstallLarge(fixtures, work, lines, lines > 100'000 ? "large-1m" : "large-100k");
                const bool huge = lines > 100'000;
                if (group("large")) {
                    const Rounds rounds = huge ? Rounds{7, 9, 1.0} : Rounds{11, 51, 3.0};
                    ModelOpenFigure(table, install, FileKind::HandlingCfg, captions, 2, rounds);
                    report();
                    BenchWindow window(install, work);
                    WindowOpenFigure(table, window, install, FileKind::HandlingCfg, captions, huge ? 1.2 : 1.05, huge, rounds);
                    report();
                    if (huge) {
                        EditFigure(table, window, install, 1.05, rounds);
                        report();
                    }
                    // After that edit, on the large file.
                    SaveFigure(table, window, install, FileKind::HandlingCfg, 1.2, rounds);
                    report();
                }
                if (huge && group("memory")) {
                    PeakMemoryFigure(table, install, work, fs::path(argv[0]), 1.6);
                    report();
                }
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "revlane-bench: " << e.what() << "\n";
        return 2;
    }
    const bool ok = table.AllOk() && LoudErrors::Count() == 0;
    std::cout << (ok ? "Every figure within its goal.\n" : "Some figures fall short of their goals (SHORT).\n");
    return parser.isSet(check) && !ok ? 1 : 0;
}
