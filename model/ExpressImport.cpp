#include "ExpressImport.h"

#include "ErrorReport.h"
#include "LineSplit.h"
#include "StockLines.h"
#include "Text.h"

namespace revlane {

namespace {

// A default.ide line names its vehicle only if its first comma comes within the first four
// characters: an id of at most three digits, with room for one blank.
constexpr size_t kMaxFirstCommaPosition = 4;
constexpr size_t kIdentifierPadding = 13;

std::string UpperAscii(std::string text)
{
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return text;
}

// A line of the table never holds a line end: one inside it would split it in two when the
// file is saved and shift every later vehicle onto the wrong row when it is read again.
// Text pasted with its line end keeps only its first line.
void CutAtLineEnd(std::string& line)
{
    const size_t end = line.find_first_of("\r\n");
    if (end != std::string::npos)
        line.erase(end);
}

}  // namespace

ExpressImport::ModelIdRange ExpressImport::CarModelIds(Game game)
{
    return game == Game::Gta3 ? ModelIdRange{90, 150} : ModelIdRange{130, 236};
}

ExpressImport::ExpressImport(Grid& grid, ConfigFile& file, Ports ports) : grid_(grid), file_(file), ports_(ports)
{
}

void ExpressImport::ClearImport()
{
    importRow_ = -1;
    vehicleName_.clear();
}

void ExpressImport::Found(int row, std::string vehicleName)
{
    importRow_ = row;
    vehicleName_ = std::move(vehicleName);
}

void ExpressImport::TextChanged(const std::string& text, Game game)
{
    // With no file open there is no vehicle to name. Closing a file empties the box while the
    // grid is already off; the vehicle found before must not stay behind for Apply.
    if (!grid_.Enabled()) {
        ClearImport();
        return;
    }
    ContinueOnError run("txtImport Change", ports_.errors);
    // Every change looks the vehicle up afresh; whatever a failure leaves, Apply stays off.
    ClearImport();
    run.Step([&] {
        text_ = text;
        if (file_.DefaultMode)
            LookUpDefault(text, game);
        else
            LookUpHandling(text);
    });
    if (run.Failed())
        ClearImport();
    run.Finish();
}

void ExpressImport::LookUpDefault(const std::string& text, Game game)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || comma + 1 > kMaxFirstCommaPosition)
        return;
    const std::optional<int> id = ReadWholeNumber(std::string_view(text).substr(0, comma));
    const ModelIdRange accepted = CarModelIds(game);
    if (!id || *id < accepted.first || *id > accepted.last)
        return;
    // The id the row's own line begins with, read the same way: a row whose id merely
    // contains the digits (1100 for 110) is another vehicle.
    for (int row = file_.FirstDataRow(); row < grid_.Rows(); ++row) {
        if (file_.IsVehicleRow(row) && ReadWholeNumber(grid_.TextMatrix(row, 0)) == id) {
            Found(row, grid_.TextMatrix(row, 1));
            return;
        }
    }
}

void ExpressImport::LookUpHandling(const std::string& text)
{
    // Only a space ends the identifier here; a tab is part of it.
    const size_t space = text.find(' ');
    if (space == std::string::npos)
        return;
    const std::string identifier = UpperAscii(text::TrimSpaces(std::string_view(text).substr(0, space)));
    if (identifier.empty())
        return;
    // Header and title rows hold captions, not identifiers, even when one reads like a name.
    for (int row = file_.FirstDataRow(); row < grid_.Rows(); ++row) {
        if (file_.IsVehicleRow(row) && grid_.TextMatrix(row, 0) == identifier) {
            Found(row, grid_.TextMatrix(row, 0));
            return;
        }
    }
}

bool ExpressImport::Apply()
{
    if (!ApplyEnabled() || !grid_.Enabled())
        return false;
    return ImportLine(importRow_, text_);
}

std::optional<std::string> ExpressImport::NormaliseHandlingLine(std::string_view line)
{
    const std::string spaced = text::ReplaceAll(line, "\t", " ");
    const size_t space = spaced.find(' ');
    if (space == std::string::npos)
        return std::nullopt;
    // Stored as the lookup found it: the game and the next reading of the file know the
    // section by its upper-case start, and restoring by the upper-case name.
    std::string normalised = UpperAscii(spaced.substr(0, space + 1));
    normalised.append(kIdentifierPadding, ' ');
    normalised += text::TrimSpaces(std::string_view(spaced).substr(space + 1));
    return normalised;
}

bool ExpressImport::ImportLine(int row, std::string line)
{
    ContinueOnError run("ImportLine", ports_.errors);
    CutAtLineEnd(line);
    if (!file_.IsVehicleRow(row)) {
        // Only a vehicle's own line may be replaced; anything else would overwrite a line
        // outside the vehicle section. Say so rather than seem to have imported.
        importText_ = std::move(line);
        run.Fail({errorcode::Internal, "Grid row " + std::to_string(row) + " shows no vehicle of the open file"});
        run.Finish();
        return false;
    }

    bool stored = false;
    if (file_.DefaultMode) {
        // The id is stored as the number it was read as: " 90" or "+90" would no longer start
        // the vehicle section, and the next read would find no vehicle at all.
        const size_t comma = line.find(',');
        const std::optional<int> id =
            comma == std::string::npos ? std::nullopt : ReadWholeNumber(std::string_view(line).substr(0, comma));
        if (id)
            line.replace(0, comma, std::to_string(*id));
        importText_ = std::move(line);
        {
            // The grid's observer hears of the whole row once.
            const Grid::Batch batch(grid_);
            run.Step([&] { ClearRow(row); });
            run.Step([&] { SplitDefaultFields(grid_, row, importText_); });
        }
        run.Step([&] { stored = file_.SetVehicleLine(row, importText_); });
    } else {
        std::optional<std::string> normalised = NormaliseHandlingLine(line);
        if (!normalised) {
            importText_ = text::ReplaceAll(line, "\t", " ");
            run.Step([&] {
                ports_.messages.ShowMessage("Failed to import line.", MsgButtons::OK, MsgIcon::Exclamation);
            });
            run.Finish();
            return false;
        }
        importText_ = std::move(*normalised);
        {
            const Grid::Batch batch(grid_);
            run.Step([&] { ClearRow(row); });
            run.Step([&] { SplitHandlingFields(grid_, row, importText_); });
        }
        run.Step([&] { stored = file_.SetVehicleLine(row, importText_); });
    }
    run.Finish();
    return stored;
}

void ExpressImport::ClearRow(int row)
{
    for (int col = 0; col < grid_.Cols(); ++col)
        grid_.SetTextMatrix(row, col, std::string());
}

}  // namespace revlane
