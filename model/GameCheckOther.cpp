#include "GameCheck.h"

#include "Catalogue.h"
#include "LineSplit.h"
#include "Text.h"

// The installation's other file, read for the rules that join the two: default.ide's vehicles name
// handling.cfg's records.
namespace revlane {

namespace {

// A blank line, or a comment.
bool IsCommentOrBlank(std::string_view line, char mark)
{
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == mark;
}

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void GameCheck::ReadOtherFile()
{
    const bool ide = document_.IsIde();
    const std::filesystem::path& path = ide ? install_.HandlingFile : install_.DefaultFile;
    // Each open of one file would read the other again: it is read only where it changed since.
    // A file system's times may count whole seconds, or two, and a change within them leaves them
    // as they were: what was read less than that after the file's last change is read again.
    constexpr std::int64_t kTimesApart = 2'000'000'000;
    const FileStamp stamp = files_.Stamp(path);
    OtherFile& other = others_[ide ? 0 : 1];
    otherRead_ = true;
    if (stamp.exists && path == other.path && stamp.SameFile(other.stamp) && other.stamp.takenAt - other.stamp.modified >= kTimesApart)
        return;
    other = OtherFile{};
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    try {
        files_.ReadLines(path, lines, ends);
    } catch (const std::exception&) {
        // Without the other file, nothing can be said of it.
        otherRead_ = false;
        return;
    }
    other.path = path;
    other.stamp = stamp;
    text::TakeByteOrderMark(lines);
    bool cars = false;
    for (const std::string& line : lines) {
        if (ide) {
            if (text::StartsWith(line, ";the end"))
                break;
            if (!IsCommentOrBlank(line, ';') && RecordKindOf(line) == RecordKind::Vehicle)
                other.names.emplace(HandlingIdentifierOf(line));
            continue;
        }
        const std::string_view trimmed = Trimmed(line);
        if (!cars) {
            cars = trimmed == "cars";
        } else if (trimmed == "end") {
            break;
        } else if (!IsCommentOrBlank(line, '#')) {
            const std::vector<std::string> fields = SplitDefaultFields(line);
            if (fields.size() > 4 && other.names.insert(fields[4]).second)
                other.order.push_back(fields[4]);
        }
    }
}

}  // namespace revlane
