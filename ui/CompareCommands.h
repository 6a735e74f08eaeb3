#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "LinesCommand.h"

namespace revlane::ui {

// Another file's values put into the cells that differ from them: "Take 3 values from handling.cfg.bak".
class TakeValuesCommand : public LinesCommand {
public:
    TakeValuesCommand(Document& document, std::vector<CellEdit> edits, const QString& text)
        : LinesCommand(document, text), edits_(std::move(edits))
    {
    }

protected:
    std::vector<LineChange> Make() override { return document_.EditCells(edits_); }

private:
    std::vector<CellEdit> edits_;
};

// The lines of vehicles only another file holds, put in at the end of their kinds' records and
// taken out again by the undo: "Take PONY from handling.cfg", "Take 2 vehicles from ...".
class TakeVehiclesCommand : public LinesCommand {
public:
    TakeVehiclesCommand(Document& document, std::vector<RecordLines> records, const QString& text)
        : LinesCommand(document, text), records_(std::move(records))
    {
    }
    void redo() override
    {
        if (!document_.InsertRecords(records_)) {
            setObsolete(true);
            return;
        }
        // Where the first of them went, for an undo or a redo to show.
        for (const RecordLines& group : records_)
            if (!group.lines.empty()) {
                place_ = document_.FindRecord(group.kind, document_.KeyOf(group.lines.front()));
                break;
            }
    }
    void undo() override { document_.RemoveRecords(records_); }
    int FirstRow() const override { return place_ ? place_->second : -1; }
    int View() const override { return place_ ? place_->first : -1; }

protected:
    std::vector<LineChange> Make() override { return {}; }

private:
    std::vector<RecordLines> records_;
    std::optional<std::pair<int, int>> place_;
};

}  // namespace revlane::ui
