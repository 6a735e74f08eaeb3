#pragma once

#include <chrono>
#include <cmath>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// Timing in turns and the table of figures that ./bench prints.
namespace revlane::bench {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start);

// One piece of work to time. `prepare` and `after` run untimed around every timed `run`.
struct Work {
    std::function<void()> run;
    std::function<void()> prepare = {};
    std::function<void()> after = {};
};

// How many times to sample: at least `minRounds`, more while the budget lasts, never more than
// `maxRounds`.
struct Rounds {
    int minRounds = 7;
    int maxRounds = 200;
    double budgetSeconds = 1.0;
};

struct Medians {
    double value;  // ms
    double floor;  // ms
};

// Every sample of each, in the order they were taken.
struct Series {
    std::vector<double> value;
    std::vector<double> floor;
};

// Times the value and its floor in turns, one of each per round (which of them goes first
// alternates), so that a change in the machine's load reaches both alike.
Series SampleSeries(const Work& value, const Work& floor, Rounds rounds);
// The same, giving the median of each.
Medians SampleInTurns(const Work& value, const Work& floor, Rounds rounds);

double Median(std::vector<double> samples);

// A figure is judged either by its ratio to its floor, or by its value alone.
// A figure is judged by its ratio to its floor, by its value alone, or shown beside others without
// a goal of its own (how a figure grows with the file's size).
enum class Goal { RatioAtMost, ValueBelow, Shown };

struct Figure {
    std::string name;
    double value = 0;
    double floor = 0;
    std::string unit;  // "ms" or "MiB"
    Goal goal = Goal::RatioAtMost;
    double limit = 0;
    std::string note = {};  // after the verdict, such as what the floor is made of

    // None where the floor is no cost at all: a figure beyond a paint can be.
    double Ratio() const { return floor > 0 ? value / floor : std::nan(""); }
    bool Ok() const { return goal == Goal::Shown || (goal == Goal::RatioAtMost ? value <= limit * floor : value < limit); }
};

class Table {
public:
    void Add(Figure figure);
    // One line per figure: name, value, floor, ratio, goal, and "ok" or "SHORT".
    void Print(std::ostream& out) const;
    // Prints the lines of the figures added since the last call, so that a long run shows its progress.
    void PrintNew(std::ostream& out);
    bool AllOk() const;
    static void PrintHeader(std::ostream& out);

private:
    std::vector<Figure> figures_;
    size_t printed_ = 0;
};

}  // namespace revlane::bench
