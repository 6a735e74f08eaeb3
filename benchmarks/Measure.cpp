#include "Measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace revlane::bench {

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

namespace {

double TimeOnce(const Work& work)
{
    if (work.prepare)
        work.prepare();
    const auto start = Clock::now();
    work.run();
    const double ms = MillisecondsSince(start);
    if (work.after)
        work.after();
    return ms;
}

std::string Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Amount(double value, const std::string& unit)
{
    if (unit == "ms")
        return Format(std::abs(value) < 1 ? "%.4f" : std::abs(value) < 100 ? "%.2f" : "%.0f", value) + " ms";
    return Format("%.1f", value) + " " + unit;
}

std::string Pad(std::string text, size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(const std::string& text, size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

constexpr size_t kNameWidth = 52;

void PrintFigure(std::ostream& out, const Figure& f)
{
    const std::string goal = f.goal == Goal::Shown         ? "(shown)"
                             : f.goal == Goal::RatioAtMost ? "<= " + Format("%.2f", f.limit) + "x"
                                                           : "< " + Amount(f.limit, f.unit);
    out << Pad(f.name, kNameWidth) << PadLeft(Amount(f.value, f.unit), 12) << PadLeft(Amount(f.floor, f.unit), 12)
        << PadLeft(std::isnan(f.Ratio()) ? "-" : Format("%.2fx", f.Ratio()), 8) << "  " << Pad(goal, 11) << (f.goal == Goal::Shown ? "" : f.Ok() ? "ok" : "SHORT");
    if (!f.note.empty())
        out << "  (" << f.note << ")";
    out << "\n";
    out.flush();
}

}  // namespace

Series SampleSeries(const Work& value, const Work& floor, Rounds rounds)
{
    std::vector<double> values;
    std::vector<double> floors;
    const auto start = Clock::now();
    for (int round = 0; round < rounds.maxRounds; ++round) {
        if (round >= rounds.minRounds && MillisecondsSince(start) > rounds.budgetSeconds * 1000)
            break;
        if (round % 2 == 0) {
            values.push_back(TimeOnce(value));
            floors.push_back(TimeOnce(floor));
        } else {
            floors.push_back(TimeOnce(floor));
            values.push_back(TimeOnce(value));
        }
    }
    return {std::move(values), std::move(floors)};
}

Medians SampleInTurns(const Work& value, const Work& floor, Rounds rounds)
{
    const Series series = SampleSeries(value, floor, rounds);
    return {Median(series.value), Median(series.floor)};
}

void Table::Add(Figure figure)
{
    figures_.push_back(std::move(figure));
}

void Table::PrintHeader(std::ostream& out)
{
    out << Pad("figure", kNameWidth) << PadLeft("value", 12) << PadLeft("floor", 12) << PadLeft("ratio", 8)
        << "  goal\n";
}

void Table::Print(std::ostream& out) const
{
    PrintHeader(out);
    for (const Figure& f : figures_)
        PrintFigure(out, f);
}

void Table::PrintNew(std::ostream& out)
{
    for (; printed_ < figures_.size(); ++printed_)
        PrintFigure(out, figures_[printed_]);
}

bool Table::AllOk() const
{
    return std::all_of(figures_.begin(), figures_.end(), [](const Figure& f) { return f.Ok(); });
}

}  // namespace revlane::bench
