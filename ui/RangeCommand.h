#pragma once

#include "CellRanges.h"
#include "LinesCommand.h"

namespace revlane::ui {

// Values put into many cells at once, each row's line rebuilt once: "Paste 4 values", "Fill 3
// values with 42", "Multiply 3 values by 1.1".
class RangeCommand : public LinesCommand {
public:
    static RangeCommand* Paste(Document& document, std::vector<CellEdit> edits)
    {
        const int count = static_cast<int>(edits.size());
        return new RangeCommand(document, std::move(edits), QStringLiteral("Paste ") + Values(count));
    }
    static RangeCommand* Fill(Document& document, std::vector<CellEdit> edits, const QString& value)
    {
        const int count = static_cast<int>(edits.size());
        return new RangeCommand(document, std::move(edits), QStringLiteral("Fill %1 with %2").arg(Values(count), value));
    }
    static RangeCommand* Numbers(Document& document, std::vector<CellEdit> edits, NumberChange change, const QString& by)
    {
        const QString values = Values(static_cast<int>(edits.size()));
        const QString text = change == NumberChange::Set ? QStringLiteral("Set %1 to %2").arg(values, by)
                             : change == NumberChange::Add ? QStringLiteral("Add %2 to %1").arg(values, by)
                                                           : QStringLiteral("Multiply %1 by %2").arg(values, by);
        return new RangeCommand(document, std::move(edits), text);
    }

protected:
    std::vector<LineChange> Make() override
    {
        std::vector<LineChange> changes = document_.EditCells(edits_);
        // Put in, the values live in the lines: the step keeps only what an undo needs.
        std::vector<CellEdit>().swap(edits_);
        return changes;
    }

private:
    RangeCommand(Document& document, std::vector<CellEdit> edits, const QString& text)
        : LinesCommand(document, text), edits_(std::move(edits))
    {
    }

    std::vector<CellEdit> edits_;
};

}  // namespace revlane::ui
