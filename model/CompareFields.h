#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Document.h"
#include "LineSplit.h"

// How a comparison reads a record line: the text it is matched by, its fields as its row's cells
// show them, and whether two values are the same.
namespace revlane::compare {

// The line without the tabs and spaces around it.
std::string_view Trimmed(std::string_view line);

// The text a record line of the document's kind is matched by: its identifier, or in default.ide
// its model id as a number ("90" for "090"), which may be held in `held`.
std::string_view MatchKey(const Document& document, std::string_view line, std::string& held);

// A record as the user knows it: its identifier, or in default.ide its model id and model name.
std::string RecordName(const Document& document, std::string_view line);

// A handling.cfg record line's fields one after the other, the identifier first, as
// SplitHandlingFields and SplitRecordFields split it (a boat's, bike's or aircraft's without its
// marker), without a copy; empty ones past its last.
class FieldCursor {
public:
    FieldCursor(std::string_view line, RecordKind kind)
        : p_(line.data() + (kind != RecordKind::Vehicle && !line.empty() ? 1 : 0)), end_(line.data() + line.size())
    {
    }
    // Whether no field is left.
    bool AtEnd()
    {
        while (p_ < end_ && IsFieldGap(*p_))
            ++p_;
        return p_ == end_;
    }
    std::string_view Next()
    {
        if (AtEnd())
            return {};
        const char* const start = p_;
        while (p_ < end_ && !IsFieldGap(*p_))
            ++p_;
        return std::string_view(start, static_cast<size_t>(p_ - start));
    }

private:
    const char* p_;
    const char* end_;
};

// A record line's fields as its row's cells show them, the key first: views into the line in
// handling.cfg (a boat's, bike's or aircraft's without its marker), into `held` in default.ide,
// whose fields lose their tabs. No more than `most` fields.
void SplitViews(std::string_view line, bool ide, RecordKind kind, std::vector<std::string>& held,
                std::vector<std::string_view>& fields, size_t most = SIZE_MAX);

// How many of the values in columns [1, cols) of two handling.cfg record lines of the kind differ,
// as SameField tells, reading both lines once side by side.
size_t DifferingValues(std::string_view ours, std::string_view theirs, RecordKind kind, int cols);

// Two values are the same where both are the same number (1700 and 1700.0), or the same text
// without the spaces around it.
bool SameField(std::string_view a, std::string_view b);

}  // namespace revlane::compare
