#include "RecordViews.h"

#include <array>
#include <string_view>

#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

// The line without the blanks around it.
std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// What a line is to the views, found once: the kind of record in the low bits.
enum LineClass : unsigned char {
    kBlank = 0,
    kTitle = 0x10,
    kComment = 0x20,
    kRecord = 0x40,
    // A boat's, bike's or aircraft's marker without an identifier names no record; a default.ide
    // line without a comma names no model to restore.
    kUnnamed = 0x80,
};

unsigned char Classify(std::string_view line, bool ide)
{
    size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    if (first == line.size())
        return kBlank;
    // A comment's first character past any blanks is the file's comment mark. The game skips an
    // indented comment too; taken for a record, an edit would rebuild it as a line that starts
    // with the mark, and the value typed would vanish into the comment.
    if (ide) {
        if (line[first] == '#')
            return kComment;
        return line.find(',') == std::string_view::npos ? kRecord | kUnnamed : kRecord;
    }
    if (line[first] == ';')
        return text::StartsWith(line, ";-") ? kTitle : kComment;
    const RecordKind kind = RecordKindOf(line);
    const unsigned char record = kRecord | static_cast<unsigned char>(kind);
    return kind != RecordKind::Vehicle && RecordIdentifierOf(line).empty() ? record | kUnnamed : record;
}

struct Span {
    size_t first = std::string::npos;
    size_t last = 0;
};

// The view of a kind's records that lie in [first, last].
RecordView ViewOf(const std::vector<unsigned char>& classes, size_t offset, bool ide, RecordKind record, const Span& span)
{
    RecordView view;
    view.kind = record;
    view.rows.reserve(span.last - span.first + 1);
    for (size_t i = span.first; i <= span.last; ++i) {
        const unsigned char line = classes[i - offset];
        const int at = static_cast<int>(i);
        if (line == kTitle) {
            view.rows.push_back({at, RowKind::Title});
        } else if (line == kComment) {
            view.rows.push_back({at, RowKind::Comment});
        } else if ((line & kRecord) && static_cast<RecordKind>(line & 0x0F) == record) {
            if (!ide && (line & kUnnamed)) {
                view.rows.push_back({at, RowKind::Comment});
                continue;
            }
            if (!(line & kUnnamed))
                view.vehicleRows.push_back(static_cast<int>(view.rows.size()));
            view.rows.push_back({at, RowKind::Vehicle});
        }
    }
    return view;
}

}  // namespace

std::vector<RecordView> FindRecordViews(const std::vector<std::string>& lines, FileKind kind)
{
    const bool ide = kind == FileKind::DefaultIde;
    size_t begin = 0, end = lines.size();
    if (ide) {
        // The cars section, from its keyword to its end.
        begin = end;
        for (size_t i = 0; i < lines.size(); ++i)
            if (Trimmed(lines[i]) == "cars") {
                begin = i + 1;
                break;
            }
        for (size_t i = begin; i < lines.size(); ++i)
            if (Trimmed(lines[i]) == "end") {
                end = i;
                break;
            }
    }
    std::vector<unsigned char> classes;
    classes.reserve(end - begin);
    std::array<Span, kRecordKinds> spans{};
    for (size_t i = begin; i < end; ++i) {
        const std::string& line = lines[i];
        // Each line's bytes lie in a block of their own, and the first of them is all a line's
        // class needs: fetched ahead, a file of a million lines waits for memory once, not a
        // million times.
        if (i + text::kLinesAhead < end)
            text::Prefetch(lines[i + text::kLinesAhead].data());
        // The game reads no further.
        if (!ide && text::StartsWith(line, ";the end")) {
            end = i;
            break;
        }
        const unsigned char found = Classify(line, ide);
        classes.push_back(found);
        if (!(found & kRecord))
            continue;
        Span& span = spans[found & 0x0F];
        span.first = std::min(span.first, i);
        span.last = i;
    }
    std::vector<RecordView> views;
    for (int k = 0; k < kRecordKinds; ++k) {
        const Span& span = spans[static_cast<size_t>(k)];
        if (span.first != std::string::npos)
            views.push_back(ViewOf(classes, begin, ide, static_cast<RecordKind>(k), span));
        else if (k == 0)
            views.push_back(RecordView{});
    }
    return views;
}

}  // namespace revlane
