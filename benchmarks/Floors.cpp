#include "Floors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "LineSplit.h"

namespace revlane::bench::floor {

namespace {

bool Gap(char ch)
{
    return ch == ' ' || ch == '\t';
}

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// Takes the pieces a file is read in and stores every whole line, reusing the strings held.
class Splitter {
public:
    explicit Splitter(Lines& into) : into_(into) {}

    void Feed(const char* p, const char* end)
    {
        if (afterCr_ && p < end) {
            afterCr_ = false;
            if (*p == '\n') {
                into_.ends[count_ - 1] = LineEnd::CrLf;
                ++p;
            }
        }
        // Each kind of line end is searched for once over the bytes, not at every line.
        const char* cr = Find(p, end, '\r');
        const char* lf = Find(p, end, '\n');
        for (;;) {
            if (cr < p)
                cr = Find(p, end, '\r');
            if (lf < p)
                lf = Find(p, end, '\n');
            const char* stop = std::min(cr, lf);
            if (stop == end)
                break;
            const char* start = p;
            p = stop + 1;
            LineEnd how = LineEnd::Lf;
            if (*stop == '\r') {
                how = LineEnd::Cr;
                if (p == end)
                    afterCr_ = true;
                else if (*p == '\n') {
                    how = LineEnd::CrLf;
                    ++p;
                }
            }
            if (partial_.empty()) {
                Store(std::string_view(start, static_cast<size_t>(stop - start)), how);
            } else {
                partial_.append(start, stop);
                Store(partial_, how);
                partial_.clear();
            }
        }
        partial_.append(p, end);
    }

    void Finish()
    {
        if (!partial_.empty())
            Store(partial_, LineEnd::None);
        into_.text.resize(count_);
        into_.ends.resize(count_);
    }

private:
    static const char* Find(const char* from, const char* end, char ch)
    {
        const void* hit = from < end ? std::memchr(from, ch, static_cast<size_t>(end - from)) : nullptr;
        return hit ? static_cast<const char*>(hit) : end;
    }
    void Store(std::string_view line, LineEnd how)
    {
        if (count_ < into_.text.size()) {
            into_.text[count_].assign(line);
            into_.ends[count_] = how;
        } else {
            into_.text.emplace_back(line);
            into_.ends.push_back(how);
        }
        ++count_;
    }

    Lines& into_;
    size_t count_ = 0;
    std::string partial_;
    bool afterCr_ = false;
};

void FindRows(FileKind kind, Game game, Lines& lines)
{
    const bool ide = kind == FileKind::DefaultIde;
    const std::string_view marker = !ide ? "LANDSTAL" : game == Game::Gta3 ? "90," : "130";
    const char mark = ide ? '#' : ';';
    lines.rows.clear();
    size_t i = 0;
    while (i < lines.text.size() && !StartsWith(lines.text[i], marker))
        ++i;
    for (; i < lines.text.size(); ++i) {
        const std::string& line = lines.text[i];
        if (ide ? line == "end" || line.find_first_not_of(' ') == std::string::npos : line == ";" || StartsWith(line, "; A"))
            break;
        if (!ide && StartsWith(line, ";-")) {
            lines.rows.push_back({static_cast<int>(i), false});
            if (++i >= lines.text.size())
                break;
        }
        const size_t first = lines.text[i].find_first_not_of(" \t");
        const bool comment = first != std::string::npos && lines.text[i][first] == mark && !StartsWith(lines.text[i], ";-");
        lines.rows.push_back({static_cast<int>(i), !comment});
    }
}

}  // namespace

void Read(const std::filesystem::path& path, FileKind kind, Game game, Lines& into)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot read " + path.string() + ": " + std::strerror(errno));
    struct stat status {};
    ::fstat(fd, &status);
    into.identity[0] = status.st_dev;
    into.identity[1] = status.st_ino;
    into.identity[2] = static_cast<std::uint64_t>(status.st_ctim.tv_sec) * 1'000'000'000u + static_cast<std::uint64_t>(status.st_ctim.tv_nsec);
    // Pieces of the size Revlane reads: from the heap, and within the processor's caches.
    constexpr size_t kPiece = 64 * 1024;
    const std::unique_ptr<char[]> buffer(new char[kPiece]);
    Splitter split(into);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), kPiece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw std::runtime_error("cannot read " + path.string());
        }
        if (n == 0)
            break;
        split.Feed(buffer.get(), buffer.get() + n);
    }
    ::close(fd);
    split.Finish();
    FindRows(kind, game, into);
}

std::string_view HandlingField(std::string_view line, int col)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int c = 0;; ++c) {
        while (p < end && Gap(*p))
            ++p;
        const char* start = p;
        while (p < end && !Gap(*p))
            ++p;
        if (c == col || p == start)
            return c == col ? std::string_view(start, static_cast<size_t>(p - start)) : std::string_view();
    }
}

std::string_view DefaultField(std::string_view line, int col)
{
    size_t start = 0;
    for (int c = 0; c < col; ++c) {
        start = line.find(',', start);
        if (start == std::string_view::npos)
            return {};
        ++start;
    }
    std::string_view field = line.substr(start, line.find(',', start) - start);
    while (!field.empty() && Gap(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && Gap(field.back()))
        field.remove_suffix(1);
    return field;
}

void BuildHandlingWith(std::string_view line, int col, std::string_view value, int columns, std::string& out)
{
    // The values' places first, so that the line is written once into room of its exact size;
    // the places are only written, never cleared first.
    struct Place {
        const char* at;
        size_t size;
    };
    Place fields[64];
    int count = 0;
    for (const char *p = line.data(), *end = p + line.size(); count < 64;) {
        while (p < end && Gap(*p))
            ++p;
        if (p == end)
            break;
        const char* start = p;
        while (p < end && !Gap(*p))
            ++p;
        fields[count++] = {start, static_cast<size_t>(p - start)};
    }
    if (count == 64)
        throw std::runtime_error("a line of more values than the floor holds");
    for (; count <= col; ++count)
        fields[count] = {"", 0};
    fields[col] = {value.data(), value.size()};
    const int last = std::max(columns, count);
    const size_t width = std::max(fields[0].size + 1, kHandlingIdentifierWidth);
    size_t size = width + static_cast<size_t>(last - 1) + (last > 30 ? 2 : 0);
    for (int c = 1; c < count; ++c)
        size += fields[c].size;
    out.resize(size);
    char* p = out.data();
    const auto put = [&p](const char* text, size_t length) {
        std::memcpy(p, text, length);
        p += length;
    };
    put(fields[0].at, fields[0].size);
    p = std::fill_n(p, width - fields[0].size, ' ');
    for (int c = 1; c < last; ++c) {
        if (c == 30)
            put("\t\t", 2);
        if (c < count)
            put(fields[c].at, fields[c].size);
        *p++ = ' ';
    }
}

bool MultiplyDecimal(std::string_view value, double by, char* out, size_t& length)
{
    const bool sign = !value.empty() && (value[0] == '+' || value[0] == '-');
    const std::string_view number = value.substr(sign ? 1 : 0);
    int digits = 0;
    int decimals = -1;
    for (const char ch : number) {
        if (ch >= '0' && ch <= '9') {
            ++digits;
            decimals += decimals >= 0;
        } else if (ch == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    double read = 0;
    if (digits == 0 || std::from_chars(number.data(), number.data() + number.size(), read, std::chars_format::fixed).ec != std::errc())
        return false;
    decimals = std::max(decimals, 0);
    static const double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double scale = decimals < 16 ? kScale[decimals] : std::pow(10.0, decimals);
    double rounded = std::round((value[0] == '-' ? -read : read) * by * scale) / scale;
    if (!std::isfinite(rounded))
        return false;
    if (rounded == 0)
        rounded = 0;
    const auto written = std::to_chars(out, out + 400, rounded, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return false;
    length = static_cast<size_t>(written.ptr - out);
    return true;
}

void Step::Swap(std::vector<std::string>& text)
{
    for (auto& [line, other] : lines)
        text[static_cast<size_t>(line)].swap(other);
}

std::string ColumnText(const Lines& lines, int top, int bottom, int col)
{
    std::string out;
    for (int row = top; row <= bottom; ++row) {
        const Lines::Row& r = lines.rows[static_cast<size_t>(row)];
        if (r.vehicle)
            out.append(HandlingField(lines.text[static_cast<size_t>(r.line)], col));
        out.push_back('\n');
    }
    return out;
}

int FindVehicle(const Lines& lines, std::string_view name, int from)
{
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    const int count = static_cast<int>(lines.rows.size());
    for (int step = 1; step <= count; ++step) {
        const Lines::Row& r = lines.rows[static_cast<size_t>((from + step) % count)];
        if (!r.vehicle)
            continue;
        const std::string_view id = HandlingField(lines.text[static_cast<size_t>(r.line)], 0);
        if (id.size() >= name.size() && std::equal(name.begin(), name.end(), id.begin(), [&](char a, char b) { return lower(a) == lower(b); }))
            return (from + step) % count;
    }
    return -1;
}

std::size_t Fingerprint(const std::vector<std::string>& text)
{
    std::size_t hash = text.size();
    for (const std::string& line : text)
        hash ^= std::hash<std::string_view>{}(line) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

}  // namespace revlane::bench::floor
