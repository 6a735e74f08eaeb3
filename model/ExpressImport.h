#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Document.h"
#include "Ports.h"
#include "Views.h"

namespace revlane {

// Express import: replaces every field of one vehicle of the open file from a whole
// configuration line that the user types or pastes. While the text changes, the vehicle it
// names is looked up among the document's vehicle rows; Apply then works out the line that
// takes that vehicle's place, for the document to put in. Restore defaults works out its stock
// lines through the same ImportLine.
//
// The window drives it: it hands every change of its import box to TextChanged, shows
// VehicleName() in the box under it, enables Apply by ApplyEnabled(), and calls Apply() on a
// click and ClearImport() when a file is read.
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

    // A vehicle's row (in the view shown, or another), and the line that is to take its line's place.
    struct Replacement {
        int row;
        std::string line;
        int view = -1;
    };

    ExpressImport(const Document& document, Ports ports);

    // The change handling of the import box: looks up the vehicle that the text names in the
    // open file. A default.ide line names it by the model id before its first comma, a
    // handling.cfg line by the identifier before its first space. With no file open nothing is
    // looked up and no vehicle is named.
    void TextChanged(const std::string& text);

    // No vehicle found: the vehicle box empties and Apply is disabled.
    void ClearImport();

    bool ApplyEnabled() const { return importRow_ >= 0; }
    // What the box under the import text shows: the model name for default.ide, the
    // identifier for handling.cfg; empty when no vehicle was found.
    const std::string& VehicleName() const { return vehicleName_; }
    // The row that Apply replaces, and its view; -1 when Apply is disabled.
    int ImportRow() const { return importRow_; }
    int ImportView() const { return importView_; }

    // Apply: the line that the text the last change examined makes for the vehicle it named. The
    // text and the found vehicle stay, so Apply can be used again.
    std::optional<Replacement> Apply();

    // The line that a whole configuration line of the open file's kind makes for a vehicle row of
    // the view shown, or of another: a default.ide line as given, its id written as the number it
    // names; a handling.cfg line in our normalised form, a boat's, bike's or aircraft's after its
    // marker. None for a handling.cfg line without a space (the user is told), and for a row that
    // shows no vehicle (reported: only a vehicle's own line may be replaced).
    std::optional<Replacement> ImportLine(int row, std::string line, int view = -1);

    // A handling.cfg line in our layout: the identifier in upper case, one space and 13 more, then the
    // values with the spaces around them removed and the spaces between them kept. Tabs
    // count as spaces. None for a line without any space, which has no values to split off.
    static std::optional<std::string> NormaliseHandlingLine(std::string_view line);
    // The same for a record of a kind: its marker, one space, and the rest as above.
    static std::optional<std::string> NormaliseRecordLine(RecordKind kind, std::string_view line);

private:
    void LookUpDefault(const std::string& text);
    void LookUpHandling(const std::string& text);
    void Found(int view, int row, std::string vehicleName);

    const Document& document_;
    Ports ports_;

    std::string text_;  // the text that the last change examined
    int importRow_ = -1;
    int importView_ = -1;
    std::string vehicleName_;
};

}  // namespace revlane
