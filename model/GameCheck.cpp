#include "GameCheck.h"

#include <algorithm>
#include <climits>
#include <numeric>

#include "Catalogue.h"
#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// A change of more lines than this leaves their lengths for later.
constexpr size_t kLengthsAtOnce = 4096;

// Whether lines waiting already take in these: an undo and a redo of the same lines wait once.
bool Within(const std::vector<std::pair<size_t, size_t>>& waiting, size_t from, size_t to)
{
    return std::any_of(waiting.begin(), waiting.end(), [&](const auto& range) { return range.first <= from && to <= range.second; });
}

}  // namespace

GameCheck::GameCheck(const Document& document, const DefaultLines& stock, const Installation& install, FileSystem& files)
    : document_(document), stock_(stock), install_(install), files_(files)
{
    document_.Listen(*this);
    DocumentReset();
}

void GameCheck::DocumentReset()
{
    // Another view shown leaves every line, and every finding, as it was.
    if (document_.Reads() == reads_)
        return;
    reads_ = document_.Reads();
    otherRead_ = false;
    Restart();
}

void GameCheck::Restart()
{
    prepared_ = false;
    next_ = 0;
    count_ = 0;
    bytes_ = 0;
    endLine_ = -1;
    longOutside_ = 0;
    changed_.clear();
    unsized_.clear();
    lengths_.clear();
    roles_.clear();
    keys_.clear();
    counts_.clear();
    for (Names& names : identifiers_)
        names.clear();
    modelIds_.clear();
    infos_.clear();
    ++version_;
}

void GameCheck::RowsChanged(int first, int last)
{
    const int from = document_.LineOfRow(first), to = document_.LineOfRow(last);
    if (from >= 0 && to >= from)
        Changed(static_cast<size_t>(from), static_cast<size_t>(to));
}

// The lines changed count with their lengths as they are now, and their findings leave the count
// until they are checked again, with the next slice: a change of a whole column holds nobody up.
// Its lengths wait for that slice too (or a save's question): the file's size said meanwhile is
// the size before, and a file of so many records is past the game's limit before and after.
void GameCheck::Changed(size_t from, size_t to)
{
    ++version_;
    if (!prepared_ || lengths_.empty())
        return;
    to = std::min(to, lengths_.size() - 1);
    if (from > to)
        return;
    if (to - from < kLengthsAtOnce)
        Resize(from, to);
    else if (!Within(unsized_, from, to))
        unsized_.emplace_back(from, to);
    if (from >= next_)
        return;
    // A whole column's change, its undo and its redo: a million counts each, taken in one sweep.
    const auto first = counts_.begin() + static_cast<std::ptrdiff_t>(from);
    const auto last = counts_.begin() + static_cast<std::ptrdiff_t>(std::min(to, next_ - 1)) + 1;
    count_ -= std::accumulate(first, last, 0LL);
    std::fill(first, last, std::uint8_t{0});
    if (!Within(changed_, from, std::min(to, next_ - 1)))
        changed_.emplace_back(from, std::min(to, next_ - 1));
}

void GameCheck::Resize(size_t from, size_t to)
{
    const std::vector<std::string>& lines = document_.Lines();
    // The game reads handling.cfg's lines up to its end mark; a line past it is long to nobody.
    const size_t readTo = document_.IsIde() ? 0 : endLine_ < 0 ? lines.size() : static_cast<size_t>(endLine_) + 1;
    for (size_t line = from; line <= to; ++line) {
        const size_t size = std::min<size_t>(lines[line].size(), UINT32_MAX);
        if (line < readTo && roles_[line] == kNoRow)
            longOutside_ += (size > kHandlingLineChars) - (lengths_[line] > kHandlingLineChars);
        bytes_ += size;
        bytes_ -= lengths_[line];
        lengths_[line] = static_cast<std::uint32_t>(size);
    }
}

void GameCheck::TakeLengths(size_t most)
{
    // Lines put in or taken out since: the check begins anew, and counts every length then.
    if (document_.Lines().size() != lengths_.size())
        unsized_.clear();
    while (!unsized_.empty() && most > 0) {
        auto& [from, to] = unsized_.back();
        const size_t last = std::min(to, from + (most - 1));
        Resize(from, last);
        most -= last - from + 1;
        if (last == to)
            unsized_.pop_back();
        else
            from = last + 1;
    }
}

void GameCheck::Prepare()
{
    prepared_ = true;
    const Game game = document_.GameOf();
    if (!document_.IsOpen())
        return;
    if (!otherRead_)
        ReadOtherFile();
    // What the game knows is the same at every open of its files.
    if (knownFor_ == game && !known_.empty())
        return PrepareLines();
    knownFor_ = game;
    known_.clear();
    const DefaultLines::KeyRange stock = DefaultLines::HandlingKeys(game);
    for (int key = stock.first; key <= stock.last; ++key)
        if (!stock_.Entry(key).empty())
            known_.emplace(HandlingIdentifierOf(stock_.Entry(key)));
    for (int kind = 0; kind < kRecordKinds; ++kind) {
        const RecordKind record = static_cast<RecordKind>(kind);
        columns_[static_cast<size_t>(kind)] = GeometryFor(FileKind::HandlingCfg, game, record).cols;
        numbers_[static_cast<size_t>(kind)] = 0;
        for (int col = 1; col < columns_[static_cast<size_t>(kind)] && col < 64; ++col)
            if (HoldsNumbers(FileKind::HandlingCfg, game, col, record))
                numbers_[static_cast<size_t>(kind)] |= std::uint64_t(1) << col;
    }
    PrepareLines();
}

void GameCheck::PrepareLines()
{
    const std::vector<std::string>& lines = document_.Lines();
    const bool ide = document_.IsIde();

    // What it costs little to know of every line: the role its row gives it, its length; the
    // lines' contents wait for the pass.
    const size_t count = lines.size();
    lengths_.resize(count);
    roles_.assign(count, kNoRow);
    keys_.assign(count, kNoKey);
    counts_.assign(count, 0);
    size_t afterRows = 0;
    for (int view = 0; view < document_.ViewCount(); ++view) {
        const auto role = static_cast<std::uint8_t>(kRecordRow + static_cast<int>(document_.ViewKind(view)));
        for (const ViewRow& row : document_.RowsOf(view))
            roles_[static_cast<size_t>(row.line)] = row.kind == RowKind::Vehicle ? role : kOtherRow;
        if (!document_.RowsOf(view).empty())
            afterRows = std::max(afterRows, static_cast<size_t>(document_.RowsOf(view).back().line) + 1);
    }
    bytes_ = document_.HasByteOrderMark() ? text::kByteOrderMark.size() : 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t size = lines[i].size();
        lengths_[i] = static_cast<std::uint32_t>(std::min<size_t>(size, UINT32_MAX));
        const LineEnd end = document_.EndOf(i);
        bytes_ += size + (end == LineEnd::CrLf ? 2 : end == LineEnd::None ? 0 : 1);
    }
    if (ide)
        return;
    // The game stops at the first ";the end", and the rows stop before it.
    for (size_t i = afterRows; i < count && endLine_ < 0; ++i)
        if (text::StartsWith(lines[i], ";the end"))
            endLine_ = static_cast<long long>(i);
    // The rows' lengths are findings of their own; a line that is no row is told with the file.
    const size_t read = endLine_ < 0 ? count : static_cast<size_t>(endLine_) + 1;
    for (size_t i = 0; i < read; ++i)
        longOutside_ += roles_[i] == kNoRow && lengths_[i] > kHandlingLineChars;
    if (endRead_ != reads_) {
        endRead_ = reads_;
        endAtRead_ = endLine_ >= 0;
    }
}

bool GameCheck::Advance(int lines)
{
    if (!prepared_)
        Prepare();
    // A slice takes the lengths of sixteen times as many lines as it checks: their sizes cost far less.
    TakeLengths(static_cast<size_t>(std::max(lines, 1)) * 16);
    if (Recheck(lines))
        for (const size_t count = lengths_.size(); next_ < count && lines > 0; ++next_, --lines)
            CheckAt(next_, false);
    return Complete();
}

void GameCheck::Finish()
{
    while (!Advance(1 << 16)) {
    }
}

bool GameCheck::Complete() const
{
    return prepared_ && next_ == lengths_.size() && changed_.empty() && unsized_.empty();
}

bool GameCheck::Update(int lines)
{
    return Recheck(lines);
}

size_t GameCheck::ToCheckAgain() const
{
    size_t lines = 0;
    for (const auto& [from, to] : changed_)
        lines += to - from + 1;
    return lines;
}

bool GameCheck::Recheck(int& lines)
{
    if (!prepared_)
        return true;
    // A save that put its header in above the file's lines moved every line.
    if (document_.Lines().size() != lengths_.size()) {
        Restart();
        return false;
    }
    while (!changed_.empty() && lines > 0) {
        auto& [from, to] = changed_.back();
        for (; from <= to && lines > 0; ++from, --lines)
            if (!CheckAt(from, true)) {
                // A key changed: which of its lines comes first is worked out anew.
                Restart();
                return false;
            }
        if (from > to)
            changed_.pop_back();
    }
    ++version_;
    return changed_.empty();
}

void GameCheck::Saved()
{
    if (!prepared_)
        return;
    // The header goes over the file's first comment lines, unless it went in above them.
    if (document_.Lines().size() != lengths_.size()) {
        Restart();
        return;
    }
    // Only the two lines the header took are checked again now; what else waits, waits.
    Changed(0, 1);
    Update(2);
}

bool GameCheck::CheckAt(size_t line, bool again)
{
    if (again)
        count_ -= counts_[line];
    scratch_.clear();
    const Key key = Examine(line, false, scratch_);
    std::uint32_t id = kNoKey;
    if (key.kind >= 0)
        id = again ? KeyId(key) : AddKey(key, line);
    if (again && id != keys_[line])
        return false;
    keys_[line] = id;
    KeyFindings(line, key, id, false, scratch_);
    counts_[line] = static_cast<std::uint8_t>(std::min<size_t>(scratch_.size(), UINT8_MAX));
    count_ += counts_[line];
    return true;
}

GameCheck::Key GameCheck::Examine(size_t line, bool say, std::vector<Finding>& out) const
{
    const std::string& text = document_.Lines()[line];
    const std::uint8_t role = line < roles_.size() ? roles_[line] : kNoRow;
    const LineFacts facts{static_cast<int>(line), document_.GameOf(), say};
    if (role == kOtherRow && !document_.IsIde())
        CheckLineLength(text, facts, out);
    if (role < kRecordRow)
        return {};
    if (document_.IsIde()) {
        const IdeKeys keys = CheckIdeLine(text, facts, out);
        if (otherRead_ && !Other().names.contains(keys.handling))
            out.push_back({GameRule::NoHandlingRecord, facts.line, 4,
                           say ? Say(GameRule::NoHandlingRecord, {keys.handling}) : std::string()});
        return keys.modelId ? Key{0, {}, *keys.modelId} : Key{};
    }
    const int kind = role - kRecordRow;
    const std::string_view identifier = CheckRecordLine(text, facts, static_cast<RecordKind>(kind), columns_[static_cast<size_t>(kind)],
                                                        numbers_[static_cast<size_t>(kind)], out);
    return identifier.empty() ? Key{} : Key{kind, identifier, 0};
}

std::uint32_t GameCheck::KeyId(const Key& key) const
{
    if (document_.IsIde()) {
        const auto found = modelIds_.find(key.modelId);
        return found == modelIds_.end() ? kNoKey : found->second;
    }
    const Names& names = identifiers_[static_cast<size_t>(key.kind)];
    const auto found = names.find(key.identifier);
    return found == names.end() ? kNoKey : found->second;
}

std::uint32_t GameCheck::AddKey(const Key& key, size_t line)
{
    std::uint32_t id = KeyId(key);
    if (id == kNoKey) {
        id = static_cast<std::uint32_t>(infos_.size());
        if (document_.IsIde())
            modelIds_.emplace(key.modelId, id);
        else
            identifiers_[static_cast<size_t>(key.kind)].emplace(std::string(key.identifier), id);
        infos_.push_back({static_cast<std::uint32_t>(line), document_.IsIde() || known_.empty() || known_.contains(key.identifier)});
    }
    return id;
}

void GameCheck::KeyFindings(size_t line, const Key& key, std::uint32_t id, bool say, std::vector<Finding>& out) const
{
    if (id == kNoKey)
        return;
    const KeyInfo& info = infos_[id];
    const int at = static_cast<int>(line);
    const std::string first = say ? Grouped(info.first + 1LL) : std::string();
    if (document_.IsIde()) {
        if (info.first != line)
            out.push_back({GameRule::RepeatedModelId, at, 0, say ? Say(GameRule::RepeatedModelId, {std::to_string(key.modelId), first}) : ""});
        return;
    }
    if (!info.known)
        out.push_back({GameRule::UnknownIdentifier, at, 0, say ? Say(GameRule::UnknownIdentifier, {key.identifier}) : ""});
    if (info.first != line)
        out.push_back({GameRule::RepeatedIdentifier, at, 0, say ? Say(GameRule::RepeatedIdentifier, {key.identifier, first}) : ""});
}

}  // namespace revlane
