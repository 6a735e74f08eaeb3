#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a vehicle line of either file splits into the values of its row, and how a row's values
// make a line again; reading, editing, express import, restore and the marks all go this way.
namespace revlane {

// The width a rebuilt handling.cfg line pads its identifier to, so that the values line up in
// the games' own layout; a longer identifier is followed by one space.
inline constexpr size_t kHandlingIdentifierWidth = 15;

// Whether a byte separates two values of a handling.cfg line, as the game reads it.
inline bool IsFieldGap(char ch)
{
    // Most characters read are above the space, and one comparison tells those apart.
    return static_cast<unsigned char>(ch) <= ' ' && (ch == ' ' || ch == '\t');
}

// A line's fields as views into it, so that a line is split without a string made for each of
// its values. A default.ide field with a tab inside is shown without it: such a field is kept in
// `owned`, and its view points there.
struct FieldViews {
    std::vector<std::string_view> fields;
    std::deque<std::string> owned;
    void Clear()
    {
        fields.clear();
        owned.clear();
    }
};
void SplitDefaultViews(std::string_view line, FieldViews& out);
void SplitHandlingViews(std::string_view line, FieldViews& out);
void SplitRecordViews(std::string_view line, FieldViews& out);
// Field `col` of a handling.cfg line (0 its identifier) without splitting the rest; empty past
// the line's last.
std::string_view HandlingFieldAt(std::string_view line, size_t col);

// The comma-separated fields of a default.ide line, each with its tabs removed and its blanks
// trimmed, every one of them.
std::vector<std::string> SplitDefaultFields(std::string_view line);

// A handling.cfg line as the game reads it: whitespace-separated tokens, tabs and spaces alike.
// The first is the identifier, the values follow. A line without any token gives one empty field.
std::vector<std::string> SplitHandlingFields(std::string_view line);

// The first token of a handling.cfg line: the vehicle it is for.
std::string_view HandlingIdentifierOf(std::string_view line);

// A boat's, bike's or aircraft's record line as the game reads it: its marker character first,
// then the identifier and the values, whitespace-separated. The marker is no field.
std::vector<std::string> SplitRecordFields(std::string_view line);
std::string_view RecordIdentifierOf(std::string_view line);
// Its fields as a line: the marker, then every field after one space; as many fields as given.
void BuildRecordLine(char marker, const std::vector<std::string_view>& fields, std::string& out);
// The text before a default.ide line's first comma: its model id, as written.
std::string_view DefaultIdeKeyOf(std::string_view line);

// A row's values as a line in our own layout, over a view of `columns` columns: default.ide
// fields joined by a comma and one or two tabs, the view's last by a comma and a space, and only
// the fields given, however few; a handling.cfg identifier padded to 15 characters, each value
// followed by a space, two tabs before column 30. Values past the last column follow it, each
// after ", " in default.ide, each with its space in handling.cfg.
void BuildDefaultLine(const std::vector<std::string_view>& fields, int columns, std::string& out);
void BuildHandlingLine(const std::vector<std::string_view>& fields, int columns, std::string& out);

// The first character of a value that its file cannot hold inside one field, or none: a line
// end would split the vehicle's line in two, whitespace (and in default.ide a comma) would split
// the value, and every later value would move one column.
std::optional<char> CharacterNotAllowed(std::string_view value, bool defaultIde);
// What the user is told when a value holds such a character.
std::string NotAllowedText(char ch, bool defaultIde);

}  // namespace revlane
