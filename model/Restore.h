#pragma once

#include <string>
#include <string_view>

#include "Document.h"
#include "ExpressImport.h"
#include "Ports.h"
#include "StockLines.h"
#include "Views.h"

namespace revlane {

// Restore defaults: puts one vehicle of the open file back to the stock line that its game
// ships, after the user has compared the two lines in a prompt. The vehicle is the one the
// restore list names: by model name in default.ide, by identifier in handling.cfg.
class RestoreDefaults {
public:
    struct Ports {
        MessagePort& messages;
        InternalErrorPort& errors;
    };

    enum class Result {
        Restored,     // the user said OK: the stock line is to replace the vehicle's line
        Cancelled,    // the user said Cancel, or the line could not be worked out
        NotFound,     // no vehicle row has the name; the user was told
        NoStockLine,  // the game ships no such vehicle; nothing to do, and nothing said
    };
    struct Outcome {
        Result result;
        ExpressImport::Replacement replacement;  // where the result is Restored
    };

    RestoreDefaults(const Document& document, ExpressImport& import, const DefaultLines& stock, Ports ports);

    // The Restore defaults button, for the restore list's selected entry and the open file's game.
    Outcome Restore(const std::string& selected);

    // The row of the vehicle that the restore list's entry names: the first by model name in
    // default.ide, by identifier in handling.cfg; -1 for none.
    int VehicleRow(const std::string& selected) const;

    // The confirmation prompt for replacing one line by another (texts as bytes of the file;
    // the prompt is UTF-8). default.ide lines are shown without their tabs and spaces, handling.cfg
    // lines with their tabs shown as spaces.
    static std::string PromptText(std::string_view current, std::string_view stock, bool defaultMode);
    static std::string NotFoundText(std::string_view selected);

private:
    const Document& document_;
    ExpressImport& import_;
    const DefaultLines& stock_;
    Ports ports_;
};

}  // namespace revlane
