#include "Restore.h"

#include <optional>

#include "ErrorReport.h"
#include "Text.h"

namespace revlane {

RestoreDefaults::RestoreDefaults(const Document& document, ExpressImport& import, const DefaultLines& stock, Ports ports)
    : document_(document), import_(import), stock_(stock), ports_(ports)
{
}

std::string RestoreDefaults::PromptText(std::string_view current, std::string_view stock, bool defaultMode)
{
    const auto shown = [defaultMode](std::string_view line) {
        const std::string text = defaultMode ? text::ReplaceAll(text::RemoveTabs(line), ' ', "")
                                             : text::ReplaceAll(line, '\t', " ");
        return text::Latin1ToUtf8(text);
    };
    return "Confirm replacement of line:\r\n" + shown(current) + "\r\n\r\nwith the line:\r\n" + shown(stock);
}

std::string RestoreDefaults::NotFoundText(std::string_view selected)
{
    return "Could not find the vehicle identifier for '" + text::Latin1ToUtf8(selected)
           + "' in the opened file. If you want to repair an incorrectly imported line, it is recommended to "
             "discard changes and reload the file using the 'Reload' button.";
}

// The first vehicle row, in file order, of the name: its model name in default.ide, its
// identifier in handling.cfg; -1 if none. Section titles hold no line that a stock line could
// replace.
int RestoreDefaults::VehicleRow(const std::string& selected) const
{
    for (int row = 0; row < document_.RowCount(); ++row)
        if (document_.IsVehicleRow(row)
            && (document_.IsIde() ? document_.Cell(row, 1) == selected : document_.Key(row) == selected))
            return row;
    return -1;
}

RestoreDefaults::Outcome RestoreDefaults::Restore(const std::string& selected)
{
    ContinueOnError run("cmdRestore", ports_.errors);
    const bool defaultMode = document_.IsIde();
    const Game game = document_.GameOf();
    Outcome outcome{Result::Cancelled, {}};

    // default.ide rows are found by model name and restored by their model id; handling.cfg
    // rows are found and restored by their identifier.
    int row = -1;
    run.Step([&] { row = VehicleRow(selected); });
    if (row < 0) {
        outcome.result = Result::NotFound;
        run.Step([&] { ports_.messages.ShowMessage(NotFoundText(selected), MsgButtons::OK, MsgIcon::Critical); });
        run.Finish();
        return outcome;
    }

    std::optional<std::string> stock;
    run.Step([&] {
        if (defaultMode) {
            if (const std::optional<int> id = ReadWholeNumber(document_.Key(row)))
                stock = stock_.DefaultIdeLine(game, *id);
        } else {
            stock = stock_.RecordLine(game, document_.Record(), selected);
        }
    });
    if (!stock) {
        outcome.result = Result::NoStockLine;
        run.Finish();
        return outcome;
    }

    run.Step([&] {
        const MsgAnswer answer = ports_.messages.ShowMessage(PromptText(document_.LineAt(row), *stock, defaultMode),
                                                             MsgButtons::OKCancel, MsgIcon::Question);
        // The restore goes to the row it found, not to the row that a pending express import
        // has found: both stay what they were, so a later Apply still goes to its own vehicle.
        if (answer != MsgAnswer::OK)
            return;
        if (std::optional<ExpressImport::Replacement> replacement = import_.ImportLine(row, *stock)) {
            outcome.result = Result::Restored;
            outcome.replacement = std::move(*replacement);
        }
    });
    run.Finish();
    return outcome;
}

}  // namespace revlane
