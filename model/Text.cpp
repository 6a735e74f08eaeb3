#include "Text.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

namespace revlane::text {

std::string TrimSpaces(std::string_view text)
{
    return std::string(SpacesTrimmed(text));
}

std::string_view SpacesTrimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string RemoveTabs(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != '\t')
            out += ch;
    return out;
}

namespace {

// The first `ch` in [from, end), or end.
const char* Find(const char* from, const char* end, char ch)
{
    const void* hit = from < end ? std::memchr(from, ch, static_cast<size_t>(end - from)) : nullptr;
    return hit ? static_cast<const char*>(hit) : end;
}

}  // namespace

std::string ReplaceAll(std::string_view text, char from, std::string_view to)
{
    // Each stretch between two of them is copied whole.
    std::string out;
    out.reserve(text.size() + (to.size() > 1 ? 16 * (to.size() - 1) : 0));
    const char* p = text.data();
    const char* const end = p + text.size();
    for (const char* hit = Find(p, end, from); hit != end; p = hit + 1, hit = Find(p, end, from)) {
        out.append(p, static_cast<size_t>(hit - p));
        out.append(to);
    }
    out.append(p, static_cast<size_t>(end - p));
    return out;
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

size_t HashLines(const std::vector<std::string>& lines)
{
    size_t hash = lines.size();
    for (const std::string& line : lines)
        hash ^= std::hash<std::string_view>{}(line) + static_cast<size_t>(0x9e3779b97f4a7c15ULL) + (hash << 6) + (hash >> 2);
    return hash;
}

std::vector<std::string> SplitLines(std::string_view content)
{
    std::vector<std::string> lines;
    LineSplitter split(lines);
    split.Feed(content);
    split.Finish();
    return lines;
}


void LineSplitter::Feed(std::string_view piece)
{
    const char* p = piece.data();
    const char* const end = p + piece.size();
    if (afterCr_ && p < end) {
        afterCr_ = false;
        if (*p == '\n')
            ++p;
    }
    // The next CR and the next LF are each searched for again only once passed, so that a file
    // with one kind of line end is not searched twice over for the other.
    const char* cr = Find(p, end, '\r');
    const char* lf = Find(p, end, '\n');
    for (;;) {
        if (cr < p)
            cr = Find(p, end, '\r');
        if (lf < p)
            lf = Find(p, end, '\n');
        const char* lineEnd = cr < lf ? cr : lf;
        if (lineEnd == end)
            break;
        Emit(p, lineEnd);
        p = lineEnd + 1;
        if (*lineEnd == '\r') {
            if (p == end)
                afterCr_ = true;
            else if (*p == '\n')
                ++p;
        }
    }
    partial_.append(p, static_cast<size_t>(end - p));
}

void LineSplitter::Emit(const char* begin, const char* end)
{
    if (partial_.empty()) {
        Store(std::string_view(begin, static_cast<size_t>(end - begin)));
        return;
    }
    partial_.append(begin, end);
    Store(partial_);
    partial_.clear();
}

void LineSplitter::Store(std::string_view line)
{
    if (count_ < lines_.size())
        lines_[count_].assign(line);
    else
        lines_.emplace_back(line);
    ++count_;
}

void LineSplitter::Finish()
{
    if (!partial_.empty())
        Store(partial_);
    partial_.clear();
    afterCr_ = false;
    lines_.resize(count_);
    // A short file read after a long one does not keep the long one's table.
    if (lines_.capacity() > 2 * count_ + 1024)
        lines_.shrink_to_fit();
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines)
{
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void WriteLinesCrLf(const std::vector<std::string>& lines, size_t pieceSize,
                    const std::function<void(std::string_view)>& write)
{
    const std::unique_ptr<char[]> piece(new char[pieceSize]);
    size_t used = 0;
    for (const auto& line : lines) {
        const size_t size = line.size() + 2;
        if (used + size > pieceSize && used > 0) {
            write(std::string_view(piece.get(), used));
            used = 0;
        }
        if (size > pieceSize) {
            // A line longer than a piece goes on its own, without a copy.
            write(line);
            write("\r\n");
            continue;
        }
        std::memcpy(piece.get() + used, line.data(), line.size());
        used += line.size();
        piece[used++] = '\r';
        piece[used++] = '\n';
    }
    if (used > 0)
        write(std::string_view(piece.get(), used));
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string PathText(const std::filesystem::path& path)
{
    // A folder given with "/" on Windows and the names joined to it with "\" would show both.
    const auto u8 = std::filesystem::path(path).make_preferred().u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace revlane::text
