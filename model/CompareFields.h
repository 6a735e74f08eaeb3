#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Document.h"

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

// A record line's fields as its row's cells show them, the key first: views into the line in
// handling.cfg (a boat's, bike's or aircraft's without its marker), into `held` in default.ide,
// whose fields lose their tabs.
void SplitViews(std::string_view line, bool ide, RecordKind kind, std::vector<std::string>& held,
                std::vector<std::string_view>& fields);

// Two values are the same where both are the same number (1700 and 1700.0), or the same text
// without the spaces around it.
bool SameField(std::string_view a, std::string_view b);

}  // namespace revlane::compare
