#pragma once

#include <string>

#include "LinesCommand.h"

namespace revlane::ui {

// A vehicle's whole line replaced: "Import LANDSTAL" by express import, "Restore LANDSTAL" by
// its stock line.
class ReplaceCommand : public LinesCommand {
public:
    // The row of the view given (the one shown where none is given).
    ReplaceCommand(Document& document, int view, int row, std::string line, const QString& text)
        : LinesCommand(document, text), view_(view), row_(row), line_(std::move(line))
    {
    }

protected:
    std::vector<LineChange> Make() override
    {
        std::vector<LineChange> changes;
        if (std::optional<LineChange> change = document_.ReplaceLine(row_, line_, view_))
            changes.push_back(std::move(*change));
        return changes;
    }

private:
    int view_;
    int row_;
    std::string line_;
};

}  // namespace revlane::ui
