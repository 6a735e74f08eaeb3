#pragma once

#include <QString>
#include <QUndoCommand>

#include <vector>

#include "Document.h"

namespace revlane::ui {

// One step of the undo stack: a change of the document's lines, made through the document when
// the step is pushed, and put back or made again byte for byte when it is undone or redone. It
// acts on the document alone, which tells its views. A step that changed nothing is dropped.
class LinesCommand : public QUndoCommand {
public:
    ~LinesCommand() override;
    // A step that puts lines in or takes them out does its own.
    void redo() override;
    void undo() override;
    // The first row it changed, and its view, to be brought into view; -1 for none.
    virtual int FirstRow() const { return changes_.empty() ? -1 : changes_.front().row; }
    virtual int View() const { return changes_.empty() ? -1 : changes_.front().view; }

    // "1 value", "3 values".
    static QString Values(int count);

protected:
    LinesCommand(Document& document, const QString& text) : QUndoCommand(text), document_(document) {}
    // The change, the first time the step is done.
    virtual std::vector<LineChange> Make() = 0;

    Document& document_;

private:
    std::vector<LineChange> changes_;
    bool made_ = false;
};

}  // namespace revlane::ui
