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

std::string_view EndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::CrLf: return "\r\n";
    case LineEnd::Lf: return "\n";
    case LineEnd::Cr: return "\r";
    case LineEnd::None: return {};
    }
    return {};
}

size_t HashLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends)
{
    size_t hash = lines.size();
    const auto mix = [&hash](size_t value) {
        hash ^= value + static_cast<size_t>(0x9e3779b97f4a7c15ULL) + (hash << 6) + (hash >> 2);
    };
    for (const std::string& line : lines)
        mix(std::hash<std::string_view>{}(line));
    for (const LineEnd end : ends)
        mix(static_cast<size_t>(end));
    return hash;
}

std::vector<std::string> SplitLines(std::string_view content, std::vector<LineEnd>* ends)
{
    std::vector<std::string> lines;
    LineSplitter split(lines, ends);
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
        if (*p == '\n') {
            ++p;
            if (ends_)
                (*ends_)[count_ - 1] = LineEnd::CrLf;
        }
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
        const char* const start = p;
        p = lineEnd + 1;
        LineEnd how = LineEnd::Lf;
        if (*lineEnd == '\r') {
            how = LineEnd::Cr;
            if (p == end) {
                afterCr_ = true;  // the next piece tells whether a LF follows
            } else if (*p == '\n') {
                how = LineEnd::CrLf;
                ++p;
            }
        }
        Emit(start, lineEnd, how);
    }
    partial_.append(p, static_cast<size_t>(end - p));
}

void LineSplitter::Emit(const char* begin, const char* end, LineEnd how)
{
    if (partial_.empty()) {
        Store(std::string_view(begin, static_cast<size_t>(end - begin)), how);
        return;
    }
    partial_.append(begin, end);
    Store(partial_, how);
    partial_.clear();
}

void LineSplitter::Store(std::string_view line, LineEnd how)
{
    if (count_ < lines_.size())
        lines_[count_].assign(line);
    else
        lines_.emplace_back(line);
    if (ends_) {
        if (count_ < ends_->size())
            (*ends_)[count_] = how;
        else
            ends_->push_back(how);
    }
    ++count_;
}

void LineSplitter::Finish()
{
    if (!partial_.empty())
        Store(partial_, LineEnd::None);
    partial_.clear();
    afterCr_ = false;
    lines_.resize(count_);
    if (ends_)
        ends_->resize(count_);
    // A short file read after a long one does not keep the long one's table.
    if (lines_.capacity() > 2 * count_ + 1024) {
        lines_.shrink_to_fit();
        if (ends_)
            ends_->shrink_to_fit();
    }
}

bool TakeByteOrderMark(std::vector<std::string>& lines)
{
    if (lines.empty() || !StartsWith(lines.front(), kByteOrderMark))
        return false;
    lines.front().erase(0, kByteOrderMark.size());
    return true;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends)
{
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    WriteLines(lines, ends, size + 1, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

void WriteLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends, size_t pieceSize,
                const std::function<void(std::string_view)>& write)
{
    // A small file needs no more room than its bytes: a piece's room is taken from the system
    // afresh, page by page.
    size_t total = 0;
    for (size_t i = 0; i < lines.size() && total < pieceSize; ++i)
        total += lines[i].size() + 2;
    pieceSize = std::max<size_t>(std::min(pieceSize, total), 1);
    const std::unique_ptr<char[]> piece(new char[pieceSize]);
    size_t used = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string_view lineEnd = EndBytes(i < ends.size() ? ends[i] : LineEnd::CrLf);
        const size_t size = line.size() + lineEnd.size();
        if (used + size > pieceSize && used > 0) {
            write(std::string_view(piece.get(), used));
            used = 0;
        }
        if (size > pieceSize) {
            // A line longer than a piece goes on its own, without a copy.
            write(line);
            write(lineEnd);
            continue;
        }
        std::memcpy(piece.get() + used, line.data(), line.size());
        used += line.size();
        lineEnd.copy(piece.get() + used, lineEnd.size());
        used += lineEnd.size();
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
