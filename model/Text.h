#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace revlane {
// How a line of a file ends. A file keeps the ends it was read with: one written on Windows ends
// its lines with CR LF, one that went through git or a Linux tool with LF, and its last line may
// have none.
enum class LineEnd : unsigned char { CrLf, Lf, Cr, None };
}  // namespace revlane

// Small text helpers for the configuration files, which are bytes in the system's code page.
namespace revlane::text {

// A pass over a file's lines, each in a block of its own, asks memory for the first bytes of the
// line so many lines ahead: a file of a million lines then waits for memory once, not a million
// times.
constexpr size_t kLinesAhead = 64;
inline void Prefetch(const char* bytes)
{
#if defined(__GNUC__)
    __builtin_prefetch(bytes);
#else
    (void)bytes;
#endif
}

// Inline, and byte by byte: reading asks this of every line, with prefixes of a few bytes, and
// most lines differ at the first.
inline bool StartsWith(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (text[i] != prefix[i])
            return false;
    return true;
}
inline bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}
// Leading and trailing blanks (the space character only; tabs are content).
std::string TrimSpaces(std::string_view text);
// The same piece of the text, without a copy.
std::string_view SpacesTrimmed(std::string_view text);
std::string RemoveTabs(std::string_view text);
std::string ReplaceAll(std::string_view text, char from, std::string_view to);
bool IsBlank(std::string_view text);

std::string_view EndBytes(LineEnd end);

// The lines of a file's content without their ends, and where asked, the end of each. CR LF, a
// lone LF and a lone CR each end a line; a last line without an end is a line too, and an end at
// the very end adds none. Lines and ends join back into the content byte for byte.
std::vector<std::string> SplitLines(std::string_view content, std::vector<LineEnd>* ends = nullptr);

// Splits content that arrives in pieces into lines exactly as SplitLines does, so that a file
// can be read into lines without its whole content being held beside them. The lines replace
// those the vector held, and reuse their strings' room: reading a file again allocates little.
class LineSplitter {
public:
    explicit LineSplitter(std::vector<std::string>& lines, std::vector<LineEnd>* ends = nullptr)
        : lines_(lines), ends_(ends)
    {
    }
    // Stores the lines that end in this piece; the rest waits for the next one.
    void Feed(std::string_view piece);
    // The content has ended: a last line without an end is a line too, and the vector is cut
    // to the lines read.
    void Finish();

private:
    void Emit(const char* begin, const char* end, LineEnd how);
    void Store(std::string_view line, LineEnd how);

    std::vector<std::string>& lines_;
    std::vector<LineEnd>* ends_;
    size_t count_ = 0;      // lines stored so far
    std::string partial_;   // the start of a line whose end is in a later piece
    bool afterCr_ = false;  // the last piece ended with CR: a LF at the next one's start belongs to it
};

// The three bytes a UTF-8 file may begin with.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Takes a byte-order mark off the first line; returns whether there was one.
bool TakeByteOrderMark(std::vector<std::string>& lines);

// Every line followed by its own end; CR LF for a line past the ends given.
std::string JoinLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends = {});
// The same bytes in pieces of about `pieceSize` bytes, each handed to `write` as it is full, so
// that a large table is written without one copy of it all.
void WriteLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends, size_t pieceSize,
                const std::function<void(std::string_view)>& write);

// A fingerprint of the lines and their ends, for telling whether a file still holds them.
size_t HashLines(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends);

// File text is 8-bit; messages are UTF-8. Each byte is taken as the Latin-1 character of its value.
std::string Latin1ToUtf8(std::string_view bytes);
// A path as the user reads it in a message (UTF-8), with the system's own separators throughout.
std::string PathText(const std::filesystem::path& path);

}  // namespace revlane::text
