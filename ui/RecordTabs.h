#pragma once

#include <QTabBar>

#include <functional>

#include "Document.h"

namespace revlane::ui {

// The tabs above the grid, one per kind of record the open file holds, each naming its count
// ("Bikes (5)"): a click, or Ctrl+Tab and Ctrl+Shift+Tab, shows that kind's records in the grid.
// Hidden where the file holds only vehicles. They follow the document's view, however it changes.
class RecordTabs : public QTabBar, private DocumentListener {
    Q_OBJECT
public:
    // `commit` ends an edit in the grid before another view is shown; false where its value was refused.
    RecordTabs(Document& document, std::function<bool()> commit, QWidget* parent);
    // The next view (or the one before), round the end.
    void Step(int step);

signals:
    // Another view is shown, at the user's choice.
    void viewChosen();

private:
    void DocumentReset() override;
    void RowsChanged(int, int) override {}
    void Chosen(int index);

    Document& document_;
    std::function<bool()> commit_;
};

}  // namespace revlane::ui
