#include "Restore.h"

#include <optional>

#include "ErrorReport.h"
#include "Text.h"

namespace revlane {

RestoreDefaults::RestoreDefaults(Grid& grid, ConfigFile& file, ExpressImport& import, const DefaultLines& stock,
                                 Ports ports)
    : grid_(grid), file_(file), import_(import), stock_(stock), ports_(ports)
{
}

std::string RestoreDefaults::PromptText(std::string_view current, std::string_view stock, bool defaultMode)
{
    const auto shown = [defaultMode](std::string_view line) {
        const std::string text = defaultMode ? text::ReplaceAll(text::RemoveTabs(line), " ", "")
                                             : text::ReplaceAll(line, "\t", " ");
        return text::Latin1ToUtf8(text);
    };
    return "Confirm replacement of line:\r\n" + shown(current) + "\r\n\r\nwith the line:\r\n" + shown(stock);
}

std::string RestoreDefaults::NotFoundText(std::string_view selected)
{
    return "Could not find the vehicle identifier for '" + text::Latin1ToUtf8(selected)
           + "' in the opened file. If you want to repair an incorrectly imported line, it is recommended to "
             "discard changes and realod the file using the 'Reload' button.";
}

// The first vehicle row, in grid order, whose cell in the column is the key; -1 if none.
// Only rows that show a vehicle line count: empty rows below the last vehicle and section
// titles hold no line that a stock line could replace.
int RestoreDefaults::FindRow(int col, const std::string& key) const
{
    for (int row = file_.FirstDataRow(); row < grid_.Rows(); ++row)
        if (file_.IsVehicleRow(row) && grid_.TextMatrix(row, col) == key)
            return row;
    return -1;
}

RestoreDefaults::Result RestoreDefaults::Restore(const std::string& selected, Game game)
{
    ContinueOnError run("cmdRestore", ports_.errors);
    const bool defaultMode = file_.DefaultMode;
    Result result = Result::Cancelled;

    // default.ide rows are found by model name and restored by their model id; handling.cfg
    // rows are found and restored by their identifier.
    int row = -1;
    run.Step([&] { row = FindRow(defaultMode ? 1 : 0, selected); });
    if (row < 0) {
        result = Result::NotFound;
        run.Step([&] { ports_.messages.ShowMessage(NotFoundText(selected), MsgButtons::OK, MsgIcon::Critical); });
        run.Finish();
        return result;
    }

    std::optional<std::string> stock;
    run.Step([&] {
        if (defaultMode) {
            if (const std::optional<int> id = ReadWholeNumber(grid_.TextMatrix(row, 0)))
                stock = stock_.DefaultIdeLine(game, *id);
        } else {
            stock = stock_.HandlingLine(game, selected);
        }
    });
    if (!stock) {
        result = Result::NoStockLine;
        run.Finish();
        return result;
    }

    run.Step([&] {
        const std::string& current = file_.FileLines().at(static_cast<size_t>(file_.LineOfRow(row)));
        const MsgAnswer answer =
            ports_.messages.ShowMessage(PromptText(current, *stock, defaultMode), MsgButtons::OKCancel, MsgIcon::Question);
        // The restore writes to the row it found, not to the row that a pending express
        // import has found: both stay what they were, so a later Apply still goes to its own
        // vehicle.
        if (answer == MsgAnswer::OK && import_.ImportLine(row, *stock))
            result = Result::Restored;
    });
    run.Finish();
    return result;
}

}  // namespace revlane
