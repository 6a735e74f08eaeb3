#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ConfigFile.h"
#include "Grid.h"
#include "Ports.h"
#include "Views.h"

namespace revlane {

// Express import: replaces every field of one vehicle of the open file from a whole
// configuration line that the user types or pastes. While the text changes, the vehicle it
// names is looked up among the grid's vehicle rows; Apply then writes the line's fields into
// that row and the line into the file's line table. Restore defaults puts stock lines in
// place through the same ImportLine.
//
// The window drives it: it hands every change of its import box to TextChanged, shows
// VehicleName() in the box under it, enables Apply by ApplyEnabled(), and calls Apply() on a
// click and ClearImport() when the file's view tells it to.
class ExpressImport {
public:
    struct Ports {
        MessagePort& messages;
        InternalErrorPort& errors;
    };

    struct ModelIdRange {
        int first;
        int last;
    };
    // The car model ids of a game that a default.ide line may name.
    static ModelIdRange CarModelIds(Game game);

    ExpressImport(Grid& grid, ConfigFile& file, Ports ports);

    // The change handling of the import box: looks up the vehicle that the text names in the
    // open file of the game given. A default.ide line names it by the model id before its first
    // comma, a handling.cfg line by the identifier before its first space. While the grid is
    // disabled (no file open) nothing is looked up and no vehicle is named.
    void TextChanged(const std::string& text, Game game);

    // No vehicle found: the vehicle box empties and Apply is disabled.
    void ClearImport();

    bool ApplyEnabled() const { return importRow_ >= 0; }
    // What the box under the import text shows: the model name for default.ide, the
    // identifier for handling.cfg; empty when no vehicle was found.
    const std::string& VehicleName() const { return vehicleName_; }
    // The grid row that Apply writes to; -1 when Apply is disabled.
    int ImportRow() const { return importRow_; }

    // Apply: imports the text that the last change examined into the vehicle it named. The
    // text and the found vehicle stay, so Apply can be used again. Returns whether the
    // vehicle's row and line were replaced.
    bool Apply();

    // Replaces the fields of a vehicle row and its line in the line table with a whole
    // configuration line of the open file's kind. A handling.cfg line is stored in our
    // normalised form. Refuses rows that show no vehicle line. Returns whether the row and
    // the line were replaced.
    bool ImportLine(int row, std::string line);
    // The line that the last ImportLine stored (or would have stored, had it not failed).
    const std::string& ImportText() const { return importText_; }

    // A handling.cfg line in our layout: the identifier in upper case, one space and 13 more, then the
    // values with the spaces around them removed and the spaces between them kept. Tabs
    // count as spaces. None for a line without any space, which has no values to split off.
    static std::optional<std::string> NormaliseHandlingLine(std::string_view line);

private:
    void LookUpDefault(const std::string& text, Game game);
    void LookUpHandling(const std::string& text);
    void Found(int row, std::string vehicleName);
    void ClearRow(int row);

    Grid& grid_;
    ConfigFile& file_;
    Ports ports_;

    std::string text_;          // the text that the last change examined
    int importRow_ = -1;
    std::string vehicleName_;
    std::string importText_;
};

}  // namespace revlane
