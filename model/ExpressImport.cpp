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

ExpressImport::ExpressImport(const Document& document, Ports ports) : document_(document), ports_(ports) {}

void ExpressImport::ClearImport()
{
    importRow_ = -1;
    importView_ = -1;
    vehicleName_.clear();
}

void ExpressImport::Found(int view, int row, std::string vehicleName)
{
    importView_ = view;
    importRow_ = row;
    vehicleName_ = std::move(vehicleName);
}

void ExpressImport::TextChanged(const std::string& text)
{
    // With no file open there is no vehicle to name. Closing a file empties the box while the
    // file is already closed; the vehicle found before must not stay behind for Apply.
    if (!document_.IsOpen()) {
        ClearImport();
        return;
    }
    ContinueOnError run("txtImport Change", ports_.errors);
    // Every change looks the vehicle up afresh; whatever a failure leaves, Apply stays off.
    ClearImport();
    run.Step([&] {
        text_ = text;
        if (document_.IsIde())
            LookUpDefault(text);
        else
            LookUpHandling(text);
    });
    if (run.Failed())
        ClearImport();
    run.Finish();
}

void ExpressImport::LookUpDefault(const std::string& text)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || comma + 1 > kMaxFirstCommaPosition)
        return;
    const std::optional<int> id = ReadWholeNumber(std::string_view(text).substr(0, comma));
    const ModelIdRange accepted = CarModelIds(document_.GameOf());
    if (!id || *id < accepted.first || *id > accepted.last)
        return;
    // The id the row's own line begins with, read the same way: a row whose id merely
    // contains the digits (1100 for 110) is another vehicle.
    for (int row = 0; row < document_.RowCount(); ++row) {
        if (document_.IsVehicleRow(row) && ReadWholeNumber(document_.Key(row)) == id) {
            Found(document_.CurrentView(), row, document_.Cell(row, 1));
            return;
        }
    }
}

void ExpressImport::LookUpHandling(const std::string& text)
{
    // A boat's, bike's or aircraft's record names its vehicle after its marker, and replaces that
    // vehicle's record of its kind, whichever view is shown.
    const RecordKind kind = RecordKindOf(text);
    std::string identifier;
    if (kind != RecordKind::Vehicle) {
        identifier = UpperAscii(std::string(RecordIdentifierOf(text)));
    } else {
        // Only a space ends the identifier here; a tab is part of it.
        const size_t space = text.find(' ');
        if (space == std::string::npos)
            return;
        identifier = UpperAscii(text::TrimSpaces(std::string_view(text).substr(0, space)));
    }
    if (identifier.empty())
        return;
    // Title rows hold captions, not identifiers, even when one reads like a name.
    if (const std::optional<std::pair<int, int>> found = document_.FindRecord(kind, identifier))
        Found(found->first, found->second, identifier);
}

std::optional<ExpressImport::Replacement> ExpressImport::Apply()
{
    if (!ApplyEnabled() || !document_.IsOpen())
        return std::nullopt;
    return ImportLine(importRow_, text_, importView_);
}

std::optional<std::string> ExpressImport::NormaliseHandlingLine(std::string_view line)
{
    const std::string spaced = text::ReplaceAll(line, '\t', " ");
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

std::optional<std::string> ExpressImport::NormaliseRecordLine(RecordKind kind, std::string_view line)
{
    if (kind == RecordKind::Vehicle)
        return NormaliseHandlingLine(line);
    const std::string values = text::ReplaceAll(line.substr(std::min<size_t>(1, line.size())), '\t', " ");
    std::optional<std::string> normalised = NormaliseHandlingLine(text::TrimSpaces(values));
    if (normalised)
        normalised->insert(0, std::string(1, RecordMarker(kind)) + " ");
    return normalised;
}

std::optional<ExpressImport::Replacement> ExpressImport::ImportLine(int row, std::string line, int view)
{
    ContinueOnError run("ImportLine", ports_.errors);
    CutAtLineEnd(line);
    if (view < 0)
        view = document_.CurrentView();
    if (!document_.IsVehicleRowOf(view, row)) {
        // Only a vehicle's own line may be replaced; anything else would overwrite a line
        // outside the vehicle section. Say so rather than seem to have imported.
        run.Fail({errorcode::Internal, "Row " + std::to_string(row) + " shows no vehicle of the open file"});
        run.Finish();
        return std::nullopt;
    }
    std::optional<Replacement> replacement;
    if (document_.IsIde()) {
        // The id is stored as the number it was read as: " 90" or "+90" would no longer start
        // the vehicle section, and the next read would find no vehicle at all.
        const size_t comma = line.find(',');
        const std::optional<int> id =
            comma == std::string::npos ? std::nullopt : ReadWholeNumber(std::string_view(line).substr(0, comma));
        if (id)
            line.replace(0, comma, std::to_string(*id));
        replacement = Replacement{row, std::move(line), view};
    } else if (std::optional<std::string> normalised = NormaliseRecordLine(document_.ViewKind(view), line)) {
        replacement = Replacement{row, std::move(*normalised), view};
    } else {
        run.Step([&] { ports_.messages.ShowMessage("Failed to import line.", MsgButtons::OK, MsgIcon::Exclamation); });
    }
    run.Finish();
    return replacement;
}

}  // namespace revlane
