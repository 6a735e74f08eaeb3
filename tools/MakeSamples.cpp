// revlane-samples FOLDER
//
// Writes two small sample installations under FOLDER, made from the stock lines that Revlane
// carries, for trying Revlane without the games: gta3/ and vicecity/, each with its
// data/default.ide, data/handling.cfg and an empty placeholder of the game's executable (the
// file by which Revlane recognises an installation).
//
// It never overwrites a non-empty file that it did not write itself: the files it writes begin
// with a line of their own, and a file beginning otherwise (a real game's file, or a sample
// the user has since saved from Revlane) is left as it is. When any such file is in the way,
// nothing is written at all. A non-empty executable is a real game's and is kept.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "DiskFileSystem.h"
#include "StockLines.h"
#include "Text.h"
#include "Views.h"

namespace fs = std::filesystem;
using namespace revlane;

namespace {

constexpr const char* kOwnMark = "Revlane sample file";

struct Sample {
    fs::path path;
    std::string content;
    std::string mark;          // what our own copy of the file begins with
    bool placeholder = false;  // the game's executable: empty, and never replaced if not
};

enum class Decision { Write, Keep, Blocked };

std::string GameName(Game game)
{
    return game == Game::Gta3 ? "GTA III" : "Vice City";
}

// The first line of every text file written here; it is what marks a file as ours.
std::string FirstLine(char comment, Game game, const std::string& file)
{
    return std::string(1, comment) + " " + kOwnMark + ": " + GameName(game) + " " + file
           + " made from Revlane's stock lines";
}

std::string DefaultIde(const DefaultLines& stock, Game game)
{
    std::vector<std::pair<int, std::string>> vehicles;
    const auto keys = DefaultLines::DefaultIdeKeys(game);
    for (int key = keys.first; key <= keys.last; ++key) {
        const std::string& line = stock.Entry(key);
        if (const auto id = DefaultLines::DefaultIdeModelId(line))
            vehicles.emplace_back(*id, line);
    }
    // In model id order, as the games list them; the table keeps one of them out of place.
    std::stable_sort(vehicles.begin(), vehicles.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<std::string> lines{
        FirstLine('#', game, "default.ide"),
        "# Not the game's own file: a sample for trying Revlane without the game installed.",
        "#",
        "cars",
    };
    for (auto& vehicle : vehicles)
        lines.push_back(std::move(vehicle.second));
    lines.emplace_back("end");
    return text::JoinLines(lines);
}

std::string ColumnLegend(Game game)
{
    std::string legend = ";";
    const int columns = game == Game::Gta3 ? 32 : 33;  // A to AF, or A to AG
    for (int c = 0; c < columns; ++c) {
        legend += ' ';
        if (c >= 26)
            legend += 'A';
        legend += static_cast<char>('A' + c % 26);
    }
    return legend;
}

std::string HandlingCfg(const DefaultLines& stock, Game game)
{
    std::vector<std::string> vehicles;
    const auto keys = DefaultLines::HandlingKeys(game);
    for (int key = keys.first; key <= keys.last; ++key)
        if (!stock.Entry(key).empty())
            vehicles.push_back(stock.Entry(key));
    // The section begins with LANDSTAL, wherever the table keeps it; the vehicles before it in
    // the table follow the ones after it, as in the game's own file.
    const auto first = std::find_if(vehicles.begin(), vehicles.end(), [](const std::string& line) {
        return DefaultLines::HandlingIdentifier(line) == "LANDSTAL";
    });
    std::rotate(vehicles.begin(), first, vehicles.end());

    std::vector<std::string> lines{
        FirstLine(';', game, "handling.cfg"),
        ";",
        "; Not the game's own file: a sample for trying Revlane without the game installed.",
        "; vehicle identifier 14 characters max",
        ";",
        ColumnLegend(game),
    };
    for (auto& vehicle : vehicles) {
        // Vice City's file heads its bikes, boats and planes with titles.
        if (game == Game::ViceCity) {
            const std::string id = DefaultLines::HandlingIdentifier(vehicle);
            if (id == "BIKE")
                lines.emplace_back(";------- bikes");
            else if (id == "PREDATOR")
                lines.emplace_back(";------- boats");
            else if (id == "SEAPLANE")
                lines.emplace_back(";------- planes");
        }
        lines.push_back(std::move(vehicle));
    }
    // The legend line ends the vehicle section. (GTA III's own file ends it with ";the end",
    // which a reader takes for one more vehicle.)
    lines.push_back(ColumnLegend(game));
    lines.emplace_back(";");
    return text::JoinLines(lines);
}

// A file may be (re)written when it is absent, empty, or one of ours. A real executable is
// kept as it is; any other file is in the way.
Decision Decide(const Sample& sample, std::string& why)
{
    std::error_code error;
    const auto status = fs::status(sample.path, error);
    if (!fs::exists(status))
        return Decision::Write;
    if (!fs::is_regular_file(status)) {
        why = "is there and is not a file";
        return Decision::Blocked;
    }
    const auto size = fs::file_size(sample.path, error);
    if (!error && size == 0)
        return Decision::Write;
    if (sample.placeholder) {
        why = "is a real executable";
        return Decision::Keep;
    }
    std::ifstream in(sample.path, std::ios::binary);
    std::string first;
    if (std::getline(in, first) && text::StartsWith(first, sample.mark))
        return Decision::Write;
    why = "exists and was not written by revlane-samples";
    return Decision::Blocked;
}

std::vector<Sample> Samples(const fs::path& root, const DefaultLines& stock)
{
    std::vector<Sample> samples;
    for (const Game game : {Game::Gta3, Game::ViceCity}) {
        const fs::path folder = root / (game == Game::Gta3 ? "gta3" : "vicecity");
        samples.push_back({folder / "data" / "default.ide", DefaultIde(stock, game), std::string("# ") + kOwnMark});
        samples.push_back({folder / "data" / "handling.cfg", HandlingCfg(stock, game), std::string("; ") + kOwnMark});
        samples.push_back(
            {folder / (game == Game::Gta3 ? "gta3.exe" : "gta-vc.exe"), std::string(), std::string(), true});
    }
    return samples;
}

// Writes the whole content beside the file first, so that the file is never left cut short.
void Write(const Sample& sample)
{
    fs::create_directories(sample.path.parent_path());
    fs::path temp = sample.path;
    temp += ".revlane-samples";
    FileSystem& files = platform::Disk();
    try {
        files.WriteAll(temp, sample.content);
        files.Rename(temp, sample.path);
    } catch (...) {
        files.Remove(temp);
        throw;
    }
}

int Usage()
{
    std::cerr << "usage: revlane-samples FOLDER\n"
                 "Writes sample GTA III and Vice City installations (gta3/ and vicecity/) under FOLDER.\n";
    return 2;
}

int MakeSamples(const fs::path& root)
{
    try {
        DefaultLines stock;
        stock.Load();
        const std::vector<Sample> samples = Samples(root, stock);

        std::vector<const Sample*> toWrite;
        bool blocked = false;
        for (const Sample& sample : samples) {
            std::string why;
            switch (Decide(sample, why)) {
            case Decision::Write:
                toWrite.push_back(&sample);
                break;
            case Decision::Keep:
                std::cout << "kept " << text::PathText(sample.path) << " (" << why << ")\n";
                break;
            case Decision::Blocked:
                std::cerr << "revlane-samples: " << text::PathText(sample.path) << " " << why << "; leaving it alone\n";
                blocked = true;
                break;
            }
        }
        if (blocked) {
            std::cerr << "revlane-samples: nothing written\n";
            return 1;
        }
        for (const Sample* sample : toWrite) {
            Write(*sample);
            std::cout << "wrote " << text::PathText(sample->path) << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "revlane-samples: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace

#ifdef _WIN32
// Windows hands main() its arguments in the user's code page: a folder named in another script
// would arrive as question marks. wmain() receives them as they were typed.
int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 || *argv[1] == L'\0')
        return Usage();
    return MakeSamples(fs::path(argv[1]));
}
#else
int main(int argc, char** argv)
{
    if (argc != 2 || *argv[1] == '\0')
        return Usage();
    return MakeSamples(fs::path(argv[1]));
}
#endif
