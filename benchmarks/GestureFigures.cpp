#include <cstdio>
#include <map>
#include <stdexcept>

#include "Figures.h"
#include "Peer.h"

// The figures of a session with a large handling.cfg: every sample a fresh process, Revlane's
// window and the peer in turns, each through the same gestures (Gestures.cpp).
namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

using Samples = std::map<std::string, std::vector<double>>;
using Marks = std::map<std::string, std::string>;

struct Side {
    Samples samples;
    Marks marks;  // the fingerprints of the first round, by sequence and name
};

// What a figure beyond a paint is made of: each side's time and its paint.
std::string BeyondNote(const std::string& painted, double value, double valuePaint, double peer, double peerPaint,
                       const std::string& gesture)
{
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%.2f ms less %.2f; the peer's: %.2f ms less %.2f; ", value, valuePaint, peer,
                  peerPaint);
    return "Revlane's cost beyond a paint of its " + painted + ": " + numbers + gesture;
}

// Each sample's time less the paint of the whole window in the state it left, a sample at a time.
std::vector<double> BeyondPaint(const Samples& samples, const std::string& what)
{
    const std::vector<double>& times = samples.at(what);
    const std::vector<double>& paints = samples.at(what + "-paint");
    std::vector<double> beyond;
    for (size_t i = 0; i < times.size(); ++i)
        beyond.push_back(times[i] - paints[i]);
    return beyond;
}

// The same work makes the same lines: a floor that made others would measure other work.
void CheckSameWork(const Side& revlane, const Side& peer)
{
    const auto same = [&](const std::string& a, const Side& sideA, const std::string& b, const Side& sideB) {
        if (sideA.marks.at(a) != sideB.marks.at(b))
            throw std::runtime_error("not the same work: " + a + " and " + b + " differ between the two sides");
    };
    for (const char* sequence : {"multiply.", "fill.", "plain."})
        same(std::string(sequence) + "lines-read", revlane, std::string(sequence) + "lines-read", peer);
    same("multiply.lines-multiplied", revlane, "multiply.lines-multiplied", peer);
    same("fill.lines-filled", revlane, "fill.lines-filled", peer);
    same("fill.lines-redone", revlane, "fill.lines-redone", peer);
    same("fill.lines-undone", revlane, "fill.lines-read", revlane);
    same("fill.lines-undone", peer, "fill.lines-read", peer);
    same("plain.copied", revlane, "plain.copied", peer);
    // The paste after the undone fill and the one on a fresh history make the same lines.
    same("fill.lines-pasted", revlane, "plain.lines-pasted", revlane);
}

}  // namespace

void GestureFigures(Table& table, const BenchInstall& install, const fs::path& work, const fs::path& self, bool judged,
                    const GridShape& shape, int rounds)
{
    Side sides[2];  // Revlane's window, the peer
    for (int round = 0; round < rounds; ++round) {
        for (const char* sequence : {"multiply", "fill", "plain"}) {
            for (int i = 0; i < 2; ++i) {
                const int which = (round + i) % 2;
                const bool check = round == 0;
                const auto said = RunChild({self.string(), "--gesture-child", which == 0 ? "revlane" : "peer", sequence,
                                            install.folder.string(), work.string(), shape.Text(), check ? "check" : "time"},
                                           work);
                for (const auto& [name, value] : said) {
                    const std::string key = std::string(sequence) + "." + name;
                    if (name.rfind("lines-", 0) == 0 || name == "copied")
                        sides[which].marks[key] = value;
                    else
                        sides[which].samples[name.rfind("open", 0) == 0 ? name : key].push_back(std::stod(value));
                }
            }
        }
        if (round == 0)
            CheckSameWork(sides[0], sides[1]);
    }
    const Samples& value = sides[0].samples;
    const Samples& peer = sides[1].samples;
    const std::string size = ", " + install.label;
    // Every gesture is judged at a million vehicles, where the cost of each line tells; the smaller
    // files show that it grows with the file and no faster. Below them the window's own fixed work
    // (the key columns' view, the record tabs, the stock lines its marks compare with), which a
    // plain table has not, weighs a millisecond or two.
    const Goal goal = judged ? Goal::RatioAtMost : Goal::Shown;
    const auto add = [&](const std::string& what, const std::string& key, double limit, const std::string& note) {
        table.Add({what + size, Median(value.at(key)), Median(peer.at(key)), "ms", goal, limit, note});
    };
    const auto beyondPaint = [&](const std::string& what, const std::string& key, const std::string& painted,
                                 const std::string& gesture) {
        table.Add({what + size, Median(BeyondPaint(value, key)), Median(BeyondPaint(peer, key)), "ms", goal, 1.0,
                   BeyondNote(painted, Median(value.at(key)), Median(value.at(key + "-paint")), Median(peer.at(key)),
                              Median(peer.at(key + "-paint")), gesture)});
    };
    beyondPaint("window open", "open", "window", "the file opened in a fresh window");
    add("Multiply by 1.1, a whole column", "multiply.multiply", 2.0,
        "floor: the peer: parse + format each number, rebuild each line, the old kept for undo");
    add("Ctrl+Enter fill, a whole column", "fill.fill", 2.0, "floor: the peer: rebuild each line, the old kept for undo");
    add("Ctrl+Z of the fill", "fill.undo", 1.5, "floor: the peer: each line's texts swapped back");
    add("Ctrl+Y of the fill", "fill.redo", 1.5, "floor: the peer: each line's texts swapped again");
    add("Ctrl+C of the column", "plain.copy", 2.0, "floor: the peer: each line's value taken, joined, on the clipboard");
    table.Add({"1,000 x 30 paste after an undone fill" + size, Median(value.at("fill.paste")), Median(value.at("plain.paste")),
               "ms", goal, 1.2, "floor: Revlane's same paste on a fresh history"});
    add("find a name that is not there", "plain.find", 2.0, "floor: the peer: a scan of the names");
    beyondPaint("last vehicle edited", "plain.edit", "grid", "Ctrl+End, a value typed, Enter");
    table.Add({"peak memory, Multiply of a whole column" + size, Median(value.at("multiply.multiply-peak")),
               Median(peer.at("multiply.multiply-peak")), "MiB", goal, 1.5,
               "whole processes; floor: the peer's: the lines read, a new one for each changed, the old kept for undo"});
    table.Add({"peak memory, fill of a whole column" + size, Median(value.at("fill.fill-peak")),
               Median(peer.at("fill.fill-peak")), "MiB", goal, 1.5,
               "whole processes; floor: the peer's: the lines read, a new one for each changed, the old kept for undo"});
}

}  // namespace revlane::bench
