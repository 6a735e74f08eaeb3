#pragma once

#include <QTableView>

namespace revlane::ui {

// The grid's key columns, laid over its left edge so that they stay in view, captions and all,
// while the values scroll: a second view of the grid's model, showing its first columns, scrolled
// with the grid and as wide as its columns. It takes no focus and no selection: the keys are read,
// not edited.
class FrozenColumnsView : public QTableView {
    Q_OBJECT
public:
    // Over the grid given, which is its parent, of the grid's model.
    explicit FrozenColumnsView(QTableView* grid);

    // How many of the first columns it shows.
    void SetCount(int columns);
    int Count() const { return count_; }
    // How much of the grid's width it covers.
    int CoveredWidth() const;
    // Over the grid's left edge, as high as its captions and cells, its rows those the grid shows.
    void Place();
    // While the grid lays a new file out, column by column, it is placed only once, at the end.
    void Hold(bool held) { held_ = held; }

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void ShowRows();

    QTableView* grid_;
    int count_ = 0;
    bool held_ = false;
};

}  // namespace revlane::ui
