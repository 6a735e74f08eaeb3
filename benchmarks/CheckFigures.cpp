#include "CheckFigures.h"

#include <QString>
#include <QWidget>

#include <cstdio>
#include <stdexcept>

#include "DiskFileSystem.h"
#include "Figures.h"
#include "GameCheck.h"
#include "GameCheckView.h"
#include "GameRules.h"
#include "GridView.h"
#include "Model.h"
#include "StockLines.h"
#include "Window.h"

namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

// The open as the window makes it, with the check it waits for, which for a large file is none;
// then the check of the rest, which the window makes a slice at a time.
std::pair<double, double> OpenAndCheck(const BenchInstall& install)
{
    Model model(install);
    DefaultLines stock;
    stock.Load();
    GameCheck check(model.file, stock, model.install, platform::Disk());
    const auto start = Clock::now();
    model.Open(FileKind::HandlingCfg);
    if (ui::GameCheckView::CheckedWithOpen(model.file.Lines().size()))
        check.Advance(ui::GameCheckView::kOpenLines);
    const double open = MillisecondsSince(start);
    if (!model.file.IsOpen())
        throw std::runtime_error("the file was not read: " + install.File(FileKind::HandlingCfg).string());
    const auto rest = Clock::now();
    check.Finish();
    const double whole = MillisecondsSince(rest);
    if (check.Count() == 0)
        throw std::runtime_error("the check found none of the file's repeated records");
    return {open, whole};
}

double OpenAlone(const BenchInstall& install)
{
    Model model(install);
    const auto start = Clock::now();
    model.Open(FileKind::HandlingCfg);
    const double ms = MillisecondsSince(start);
    if (!model.file.IsOpen())
        throw std::runtime_error("the file was not read: " + install.File(FileKind::HandlingCfg).string());
    return ms;
}

// The last vehicle's mass edited in the window, in turns two values, the check's update left to
// the sample; the check's update and a paint of the grid against the paint alone.
void AfterEdit(const BenchInstall& install, const fs::path& work, int rounds)
{
    // Never given back: the child ends without it (see Child in main.cpp).
    BenchWindow& window = *new BenchWindow(install, work);
    window.Click(FileKind::HandlingCfg);
    UntilIdle();
    auto* check = window.Window()->findChild<ui::GameCheckView*>();
    if (!check || !window.File().IsOpen())
        throw std::runtime_error("the window did not open the file with its check");
    // F8 checks the rest of the file at once: every line's findings are counted, as after the slices.
    check->Go(true);
    UntilIdle();
    int edits = 0;
    const auto edit = [&] { EditLast(window.Grid(), edits++ % 2 ? QStringLiteral("1000.0") : QStringLiteral("1001.0")); };
    const Work value{[&] {
                         check->Refresh();
                         PaintWhole(window.Grid());
                     },
                     edit, UntilIdle};
    const Work floor{[&] { PaintWhole(window.Grid()); }, edit, UntilIdle};
    const Series s = SampleSeries(value, floor, {rounds, rounds, 0});
    std::printf("edit %.6f\nedit-paint %.6f\n", Median(s.value), Median(s.floor));
}

}  // namespace

void GameCheckFigures(Table& table, const BenchInstall& install, const fs::path& work, const fs::path& self, int rounds)
{
    std::vector<double> times[2], rest;
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < 2; ++i) {
            const int which = (round + i) % 2;
            const auto said = RunChild({self.string(), "--check-child", which == 0 ? "check" : "open", install.folder.string(), work.string()}, work);
            times[which].push_back(std::stod(said.at(which == 0 ? "check" : "open")));
            if (which == 0)
                rest.push_back(std::stod(said.at("rest")));
        }
    char note[240];
    std::snprintf(note, sizeof note,
                  "the open and the check it waits for, whole up to %s lines, else none; the check, in slices while "
                  "the window is idle: %.0f ms; each in a fresh process; floor: the model's open",
                  Grouped(ui::GameCheckView::kOpenLines).c_str(), Median(rest));
    table.Add({"game check at open, " + install.label, Median(times[0]), Median(times[1]), "ms", Goal::RatioAtMost, 1.2, note});
    const auto said = RunChild({self.string(), "--check-child", "edit", install.folder.string(), work.string()}, work);
    table.Add({"game check after one edit, " + install.label, std::stod(said.at("edit")), std::stod(said.at("edit-paint")), "ms",
               Goal::RatioAtMost, 1.05, "the last vehicle edited: the check's update and a paint of the grid; floor: the paint"});
}

int GameCheckChild(const std::string& side, const fs::path& folder, const fs::path& work)
{
    const BenchInstall install{"", Game::ViceCity, folder, folder / "gta-vc.exe"};
    if (side == "check") {
        const auto [open, rest] = OpenAndCheck(install);
        std::printf("check %.6f\nrest %.6f\n", open, rest);
    }
    else if (side == "open")
        std::printf("open %.6f\n", OpenAlone(install));
    else
        AfterEdit(install, work, 41);
    return LoudErrors::Count() == 0 ? 0 : 1;
}

}  // namespace revlane::bench
