#pragma once

#include <string>

#include "LinesCommand.h"

namespace revlane::ui {

// A value typed into a cell: "Edit LANDSTAL fMass".
class EditCommand : public LinesCommand {
public:
    // `what`: the vehicle and the field, as the user knows them.
    EditCommand(Document& document, int row, int col, std::string value, const QString& what)
        : LinesCommand(document, QStringLiteral("Edit ") + what), row_(row), col_(col), value_(std::move(value))
    {
    }

protected:
    std::vector<LineChange> Make() override { return document_.EditCells({{row_, col_, value_}}); }

private:
    int row_;
    int col_;
    std::string value_;
};

}  // namespace revlane::ui
