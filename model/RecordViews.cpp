#include "RecordViews.h"

#include <array>
#include <string_view>

#include "LineSplit.h"
#include "Text.h"

namespace revlane {

namespace {

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The line without the blanks around it.
std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// A comment line: its first character past any blanks is the file's comment mark. The game
// skips an indented comment too; taken for a record, an edit would rebuild it as a line that
// starts with the mark, and the value typed would vanish into the comment.
bool IsComment(std::string_view line, char mark)
{
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == mark;
}

struct Span {
    size_t first = std::string::npos;
    size_t last = 0;
};

// The view of a kind's records that lie in [first, last].
RecordView ViewOf(const std::vector<std::string>& lines, FileKind kind, RecordKind record, const Span& span)
{
    const bool ide = kind == FileKind::DefaultIde;
    RecordView view;
    view.kind = record;
    for (size_t i = span.first; i <= span.last; ++i) {
        const std::string& line = lines[i];
        const int at = static_cast<int>(i);
        if (IsBlankLine(line))
            continue;
        if (!ide && text::StartsWith(line, ";-")) {
            view.rows.push_back({at, RowKind::Title});
        } else if (IsComment(line, ide ? '#' : ';')) {
            view.rows.push_back({at, RowKind::Comment});
        } else if (ide || RecordKindOf(line) == record) {
            // A boat's, bike's or aircraft's marker without an identifier names no record.
            if (record != RecordKind::Vehicle && RecordIdentifierOf(line).empty()) {
                view.rows.push_back({at, RowKind::Comment});
                continue;
            }
            // A default.ide line without a comma names no model to restore.
            if (!ide || line.find(',') != std::string::npos)
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
    } else {
        // The game reads no further.
        for (size_t i = 0; i < lines.size(); ++i)
            if (text::StartsWith(lines[i], ";the end")) {
                end = i;
                break;
            }
    }
    std::array<Span, kRecordKinds> spans{};
    for (size_t i = begin; i < end; ++i) {
        const std::string& line = lines[i];
        if (IsBlankLine(line) || IsComment(line, ide ? '#' : ';'))
            continue;
        Span& span = spans[static_cast<size_t>(ide ? RecordKind::Vehicle : RecordKindOf(line))];
        span.first = std::min(span.first, i);
        span.last = i;
    }
    std::vector<RecordView> views;
    for (int k = 0; k < kRecordKinds; ++k) {
        const Span& span = spans[static_cast<size_t>(k)];
        if (span.first != std::string::npos)
            views.push_back(ViewOf(lines, kind, static_cast<RecordKind>(k), span));
        else if (k == 0)
            views.push_back(RecordView{});
    }
    return views;
}

}  // namespace revlane
