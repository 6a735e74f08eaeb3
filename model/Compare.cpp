#include "Compare.h"

#include <thread>
#include <unordered_set>

#include "CompareFields.h"
#include "LineSplit.h"
#include "Text.h"

// Reading the other file, telling whether it can be compared with the open one at all, matching
// their records and counting what differs.
namespace revlane {

namespace {

const char* GameName(Game game)
{
    return game == Game::ViceCity ? "Vice City" : "GTA III";
}

// The same file under two names, or under one.
bool SameFile(FileSystem& files, const std::filesystem::path& a, const std::filesystem::path& b)
{
    if (a.lexically_normal() == b.lexically_normal())
        return true;
    const FileStamp x = files.Stamp(a), y = files.Stamp(b);
    return x.exists && y.exists && x.file != 0 && x.device == y.device && x.file == y.file;
}

// default.ide keeps its vehicles in a cars section; handling.cfg has no such line.
bool HasCarsSection(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (compare::Trimmed(line) == "cars")
            return true;
    return false;
}

// What tells a record of one game from the other's: its kind and identifier in handling.cfg, its
// model id and model name (in any case) in default.ide, whose ids the two games partly share.
std::string GameKey(bool ide, RecordKind kind, std::string_view line)
{
    if (!ide)
        return std::string(1, static_cast<char>('0' + static_cast<int>(kind)))
               + std::string(kind == RecordKind::Vehicle ? HandlingIdentifierOf(line) : RecordIdentifierOf(line));
    const std::vector<std::string> fields = SplitDefaultFields(line);
    const std::optional<int> id = ReadWholeNumber(fields[0]);
    std::string key = (id ? std::to_string(*id) : fields[0]) + ",";
    for (const char ch : fields.size() > 1 ? fields[1] : std::string())
        key += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    return key;
}

// The keys of every stock record of a game's file.
std::unordered_set<std::string> StockKeys(const DefaultLines& stock, Game game, bool ide)
{
    std::unordered_set<std::string> keys;
    for (int k = 0; k < (ide ? 1 : kRecordKinds); ++k) {
        const RecordKind kind = static_cast<RecordKind>(k);
        const DefaultLines::KeyRange range = ide                        ? DefaultLines::DefaultIdeKeys(game)
                                             : kind == RecordKind::Vehicle ? DefaultLines::HandlingKeys(game)
                                                                           : DefaultLines::RecordKeys(game, kind);
        for (int key = range.first; key <= range.last; ++key)
            if (const std::string& line = stock.Entry(key); !line.empty())
                keys.insert(GameKey(ide, kind, line));
    }
    return keys;
}

std::string Counted(long long count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string CompareSummary(const std::string& name, const CompareCounts& counts)
{
    std::string text = "Compared with " + name + ": ";
    text += counts.values == 0 ? std::string("no value differs")
                               : Counted(counts.values, "value differs", "values differ") + " in "
                                     + Counted(counts.vehicles, "vehicle", "vehicles");
    if (counts.onlyThere > 0)
        text += "; " + Counted(counts.onlyThere, "vehicle", "vehicles") + " only there";
    if (counts.onlyHere > 0)
        text += "; " + (counts.onlyThere > 0 ? std::to_string(counts.onlyHere) : Counted(counts.onlyHere, "vehicle", "vehicles"))
                + " only here";
    const size_t twice = counts.twiceThere.size();
    if (twice == 1)
        text += "; " + counts.twiceThere.front() + " is there more than once: its first line is compared";
    else if (twice > 1)
        text += "; " + std::to_string(twice) + " vehicles are there more than once: the first line of each is compared";
    return text;
}

Comparison::Comparison(const Document& open, Document::Ports ports, const std::filesystem::path& path)
    : open_(open), other_(install_, ports), name_(text::PathText(path.filename()))
{
    (open.IsIde() ? install_.DefaultFile : install_.HandlingFile) = path;
}

Comparison::~Comparison() = default;

std::unique_ptr<Comparison> Comparison::Make(const Document& open, const std::filesystem::path& path, Document::Ports ports,
                                             const DefaultLines& stock, std::string& why)
{
    why.clear();
    std::unique_ptr<Comparison> made(new Comparison(open, ports, path));
    if (SameFile(ports.files, path, open.Path())) {
        why = made->name_ + " is the open file itself: nothing was compared.";
        return nullptr;
    }
    // A file that is not there, or cannot be read, is told by the document as any other is.
    if (!made->other_.Open(open.Kind(), open.GameOf()))
        return nullptr;
    why = made->Refusal(stock);
    if (!why.empty())
        return nullptr;
    made->Count();
    return made;
}

std::string Comparison::Refusal(const DefaultLines& stock)
{
    const bool ide = open_.IsIde();
    const bool cars = HasCarsSection(other_.Lines());
    if (cars && !ide)
        return name_ + " is a default.ide, not a handling.cfg: nothing was compared.";
    if (!cars && ide)
        return name_ + " is no default.ide (it has no cars section): nothing was compared.";
    Index();
    // The other game's file holds vehicles that only the other game ships, and none that only
    // this one does; a mod's added vehicles are in neither.
    const Game game = open_.GameOf(), otherGame = game == Game::Gta3 ? Game::ViceCity : Game::Gta3;
    const std::unordered_set<std::string> here = StockKeys(stock, game, ide), there = StockKeys(stock, otherGame, ide);
    long long ours = 0, others = 0;
    for (const auto& [kind, line] : firsts_) {
        const std::string key = GameKey(ide, kind, other_.Lines()[static_cast<size_t>(line)]);
        const bool inHere = here.count(key) > 0, inThere = there.count(key) > 0;
        ours += inHere && !inThere;
        others += inThere && !inHere;
    }
    if (others > 0 && ours == 0)
        return name_ + " holds " + GameName(otherGame) + "'s vehicles, and the open file is " + GameName(game)
               + "'s: nothing was compared.";
    return {};
}

void Comparison::Index()
{
    std::string held;
    std::vector<bool> twice;  // by first record: told to be there more than once
    for (int view = 0; view < other_.ViewCount(); ++view) {
        other_.ShowView(view);
        FirstRecords& firsts = index_[static_cast<size_t>(other_.Record())];
        for (int row = 0; row < other_.RowCount(); ++row) {
            if (!other_.IsVehicleRow(row))
                continue;
            const int line = other_.LineOfRow(row);
            const std::string& text = other_.Lines()[static_cast<size_t>(line)];
            const std::string_view key = compare::MatchKey(other_, text, held);
            const auto found = firsts.find(key);
            if (found == firsts.end()) {
                firsts.emplace(std::string(key), static_cast<int>(firsts_.size()));
                firsts_.emplace_back(other_.Record(), line);
                twice.push_back(false);
            } else if (!twice[static_cast<size_t>(found->second)]) {
                twice[static_cast<size_t>(found->second)] = true;
                counts_.twiceThere.push_back(other_.IsIde() ? compare::RecordName(other_, text) : std::string(key));
            }
        }
    }
}

const std::string* Comparison::Match(RecordKind kind, std::string_view line) const
{
    std::string held;
    const FirstRecords& firsts = index_[static_cast<size_t>(kind)];
    const auto found = firsts.find(compare::MatchKey(open_, line, held));
    if (found == firsts.end())
        return nullptr;
    return &other_.Lines()[static_cast<size_t>(firsts_[static_cast<size_t>(found->second)].second)];
}

void Comparison::Count()
{
    // Each half of a large handling.cfg's rows on a core of its own: a line's values are compared
    // field by field, and a million of them take a third of a second. A default.ide's are few.
    struct Tally {
        long long values = 0, vehicles = 0, onlyHere = 0;
        std::vector<unsigned char> matched;
    };
    const auto count = [this](int view, int from, int to, Tally& tally) {
        const std::vector<std::string>& lines = open_.Lines();
        const RecordKind kind = open_.ViewKind(view);
        const int cols = GeometryFor(open_.Kind(), open_.GameOf(), kind).cols;
        const FirstRecords& firsts = index_[static_cast<size_t>(kind)];
        std::string held;
        for (int row = from, at = 0; row < to && (at = open_.LineOfRowIn(view, row)) >= 0; ++row) {
            if (!open_.IsVehicleRowOf(view, row))
                continue;
            const std::string& line = lines[static_cast<size_t>(at)];
            const auto found = firsts.find(compare::MatchKey(open_, line, held));
            if (found == firsts.end()) {
                ++tally.onlyHere;
                continue;
            }
            const size_t first = static_cast<size_t>(found->second);
            tally.matched[first] = 1;
            const std::string& theirs = other_.Lines()[static_cast<size_t>(firsts_[first].second)];
            const size_t differ = open_.IsIde() ? Differences(line, theirs, kind, 1, cols - 1).size()
                                                : compare::DifferingValues(line, theirs, kind, cols);
            tally.values += static_cast<long long>(differ);
            tally.vehicles += differ > 0;
        }
    };
    constexpr int kRowsApart = 1 << 16;
    Tally tallies[2];
    for (Tally& tally : tallies)
        tally.matched.assign(firsts_.size(), 0);
    for (int view = 0; view < open_.ViewCount(); ++view) {
        const int rows = static_cast<int>(open_.RowsOf(view).size());
        if (open_.IsIde() || rows < kRowsApart) {
            count(view, 0, rows, tallies[0]);
            continue;
        }
        std::thread second([&] { count(view, rows / 2, rows, tallies[1]); });
        count(view, 0, rows / 2, tallies[0]);
        second.join();
    }
    for (const Tally& tally : tallies) {
        counts_.values += tally.values;
        counts_.vehicles += tally.vehicles;
        counts_.onlyHere += tally.onlyHere;
    }
    for (size_t first = 0; first < firsts_.size(); ++first)
        counts_.onlyThere += !tallies[0].matched[first] && !tallies[1].matched[first];
}

}  // namespace revlane
