#include "CompareFigures.h"

#include <QAction>
#include <QApplication>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <unordered_map>

#include "Comparer.h"
#include "FieldRules.h"
#include "Figures.h"
#include "GridView.h"
#include "Model.h"
#include "Peer.h"
#include "Window.h"

// A modder's two large files side by side: the comparison of the large handling.cfg with a copy
// of itself in which every tenth value differs, from the file chosen until the window is idle,
// against the model's open of both files; and Take their values for the whole mass column,
// against the peer doing the same the least way.
namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

constexpr int kColumn = 1;  // the vehicle's mass

double Timed(const std::function<void()>& gesture)
{
    const auto start = Clock::now();
    gesture();
    UntilIdle();
    return MillisecondsSince(start);
}

// The copy: every record line's values as the game reads them, one space apart, and every tenth
// value with a digit written after it, so that it differs as text and as a number: in each line
// and in each column, one value in ten, in stripes across them.
fs::path MakeCopy(const BenchInstall& install, const fs::path& work)
{
    const fs::path copy = work / (install.folder.filename().string() + "-every-tenth.cfg");
    std::ifstream in(install.File(FileKind::HandlingCfg), std::ios::binary);
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    std::string line;
    long long records = 0;
    bool ended = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ended = ended || line.rfind(";the end", 0) == 0;
        const size_t first = line.find_first_not_of(" \t");
        if (ended || first == std::string::npos || line[first] == ';') {
            out << line << "\r\n";
            continue;
        }
        const bool marker = line[0] == '%' || line[0] == '!' || line[0] == '$';
        std::string written = marker ? std::string(1, line[0]) : std::string();
        size_t at = marker ? 1 : 0;
        for (int field = 0;; ++field) {
            at = line.find_first_not_of(" \t", at);
            if (at == std::string::npos)
                break;
            const size_t end = std::min(line.find_first_of(" \t", at), line.size());
            if (!written.empty())
                written += ' ';
            written += line.substr(at, end - at);
            if (field > 0 && (records + field) % 10 == 0)
                written += '1';
            at = end;
        }
        ++records;
        out << written << "\r\n";
    }
    if (!out.flush())
        throw std::runtime_error("cannot write " + copy.string());
    return copy;
}

void RevlaneSide(const BenchInstall& install, const fs::path& copy, const fs::path& work, bool check)
{
    // Never given back: the child ends without it.
    BenchWindow& window = *new BenchWindow(install, work);
    window.Click(FileKind::HandlingCfg);
    UntilIdle();
    window.FinishCheck();
    auto* comparer = window.Window()->findChild<ui::Comparer*>(QStringLiteral("comparer"));
    if (!comparer)
        throw std::runtime_error("the window has no comparer");
    std::printf("compare %.6f\n", Timed([&] { comparer->CompareWith(copy); }));
    if (!comparer->Comparing())
        throw std::runtime_error("the window did not compare with " + copy.string());
    SelectColumn(window.Grid(), kColumn);
    UntilIdle();
    const size_t compared = check ? floor::Fingerprint(window.File().Lines()) : 0;
    std::printf("take %.6f\n", Timed([&] { window.Action("mnuTakeValues")->trigger(); }));
    if (check) {
        // A take of nothing would measure nothing.
        if (floor::Fingerprint(window.File().Lines()) == compared)
            throw std::runtime_error("Take their values changed no line");
        std::printf("lines-taken %zu\n", floor::Fingerprint(window.File().Lines()));
    }
}

void OpenSide(const BenchInstall& install, const fs::path& copy)
{
    const BenchInstall other{"", install.game, copy.parent_path(), install.exe};
    Model& open = *new Model(install);
    Model& compared = *new Model(other);
    compared.install.HandlingFile = copy;
    const auto start = Clock::now();
    open.Open(FileKind::HandlingCfg);
    compared.file.Open(FileKind::HandlingCfg, install.game);
    std::printf("open-both %.6f\n", MillisecondsSince(start));
    if (!open.file.IsOpen() || !compared.file.IsOpen())
        throw std::runtime_error("the model did not open both files");
}

void PeerSide(const BenchInstall& install, const fs::path& copy, const GridShape& shape, bool check)
{
    PeerWindow& peer = *new PeerWindow(FileKind::HandlingCfg, Game::ViceCity, shape);
    peer.show();
    peer.activateWindow();
    UntilIdle();
    peer.Open(install.File(FileKind::HandlingCfg), FileKind::HandlingCfg);
    UntilIdle();
    // The other file as a comparison leaves it: its lines, and the first line of each identifier.
    floor::Lines& theirs = *new floor::Lines;
    floor::Read(copy, FileKind::HandlingCfg, Game::ViceCity, theirs);
    std::unordered_map<std::string_view, std::string_view> firsts;
    for (const floor::Lines::Row& row : theirs.rows)
        if (row.vehicle) {
            const std::string_view line = theirs.text[static_cast<size_t>(row.line)];
            firsts.try_emplace(floor::HandlingField(line, 0), line);
        }
    SelectColumn(peer.View(), kColumn);
    UntilIdle();
    std::printf("take %.6f\n", Timed([&] {
        const QRect range = peer.SelectedRange();
        const floor::Lines& lines = peer.Model().Lines();
        size_t next = static_cast<size_t>(range.top());
        // Called for each vehicle row in turn, before its line changes.
        peer.Model().ChangeColumn(range.top(), range.bottom(), range.left(), [&](std::string_view value, char* out, size_t& length) {
            while (!lines.rows[next].vehicle)
                ++next;
            const auto found = firsts.find(floor::HandlingField(lines.text[static_cast<size_t>(lines.rows[next++].line)], 0));
            if (found == firsts.end())
                return false;
            const std::string_view other = floor::HandlingField(found->second, range.left());
            const std::optional<double> a = ParseDecimal(value), b = ParseDecimal(other);
            if (value == other || (a && b && *a == *b) || other.size() > 400)
                return false;
            std::memcpy(out, other.data(), other.size());
            length = other.size();
            return true;
        });
    }));
    if (check)
        std::printf("lines-taken %zu\n", floor::Fingerprint(peer.Model().Lines().text));
}

}  // namespace

int CompareChild(const std::string& side, const fs::path& folder, const fs::path& copy, const fs::path& work,
                 const std::string& shape, bool check)
{
    const BenchInstall install{"", Game::ViceCity, folder, folder / "gta-vc.exe"};
    if (side == "revlane")
        RevlaneSide(install, copy, work, check);
    else if (side == "open")
        OpenSide(install, copy);
    else
        PeerSide(install, copy, GridShape::FromText(shape), check);
    return LoudErrors::Count() == 0 ? 0 : 1;
}

void CompareFigures(Table& table, const BenchInstall& install, const fs::path& work, const fs::path& self,
                    const GridShape& shape, int rounds)
{
    const fs::path copy = MakeCopy(install, work);
    const char* sides[] = {"revlane", "open", "peer"};
    std::map<std::string, std::vector<double>> samples;
    std::string taken[2];
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < 3; ++i) {
            const std::string side = sides[(round + i) % 3];
            const bool check = round == 0 && side != "open";
            const auto said = RunChild({self.string(), "--compare-child", side, install.folder.string(), copy.string(),
                                        work.string(), shape.Text(), check ? "check" : "time"},
                                       work);
            for (const auto& [name, value] : said) {
                if (name == "lines-taken")
                    taken[side == "peer"] = value;
                else
                    samples[side + "." + name].push_back(std::stod(value));
            }
        }
    // The same work makes the same lines: a floor that made others would measure other work.
    if (taken[0] != taken[1])
        throw std::runtime_error("not the same work: the lines taken differ between Revlane and the peer");
    const std::string size = ", " + install.label;
    table.Add({"compare with a copy, every tenth value differs" + size, Median(samples.at("revlane.compare")),
               Median(samples.at("open.open-both")), "ms", Goal::RatioAtMost, 2.0,
               "the file chosen until idle, in the window; floor: the model's open of both files, in a fresh process"});
    table.Add({"Take their values, a whole column" + size, Median(samples.at("revlane.take")), Median(samples.at("peer.take")), "ms",
               Goal::RatioAtMost, 2.0,
               "floor: the peer: each row's first line there by its identifier, its value, each line that differs rebuilt, the old kept for undo"});
}

}  // namespace revlane::bench
