#include "MainWindow.h"

#include "Comparer.h"
#include "GridView.h"

// The open file compared with another of its kind: the commands are the comparer's, in the
// grid's menu after the changes of many values; a read, a reload or another game stops it.
namespace revlane::ui {

void MainWindow::SetUpComparing()
{
    comparer_ = new Comparer({document,
                              Document::Ports{*services_.messages, *services_.errors, *services_.clock, *services_.files},
                              defaultLines,
                              *table_,
                              *Grid1,
                              undo_,
                              *services_.compare,
                              [this] { return Commit(); },
                              [this](const QString& text, bool warning) { ShowStatus(text, warning); }},
                             this);
}

}  // namespace revlane::ui
