#include "LinesCommand.h"

namespace revlane::ui {

void LinesCommand::redo()
{
    if (made_) {
        document_.Redo(changes_);
        return;
    }
    changes_ = Make();
    made_ = true;
    if (changes_.empty())
        setObsolete(true);
}

void LinesCommand::undo()
{
    document_.Undo(changes_);
}

QString LinesCommand::Values(int count)
{
    return count == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(count);
}

}  // namespace revlane::ui
