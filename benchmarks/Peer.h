#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Floors.h"

class QAction;
class QLabel;
class QLineEdit;
class QTableView;

// The peer Revlane's window is judged against where Qt sets the cost: a plain Qt Widgets program
// with a QTableView over a QAbstractTableModel that holds the same rows, drawn by a
// QStyledItemDelegate, doing each gesture the least way (floor::). It has what a user meets in
// those gestures and nothing else: a status line, and a find box made at its first use.
namespace revlane::bench {

// The size of the grid's view and of its rows, so that the peer shows as many cells: its captions
// take as many rows as Revlane's do.
struct GridShape {
    int width = 800;
    int height = 400;
    int rowHeight = 20;
    // As a child process is told it.
    std::string Text() const;
    static GridShape FromText(const std::string& text);
};

class PeerModel : public QAbstractTableModel {
public:
    PeerModel(FileKind kind, Game game, QObject* parent) : QAbstractTableModel(parent), kind_(kind), game_(game) {}

    // Reads the file of a kind into the lines held, and shows its rows.
    void Open(const std::filesystem::path& path, FileKind kind);
    FileKind Kind() const { return kind_; }
    Game GameOf() const { return game_; }
    int Columns() const { return GeometryFor(kind_, game_).cols; }
    const floor::Lines& Lines() const { return lines_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // A change of the rows of a column as one step of the undo history; how many values changed.
    template <class Change>
    int ChangeColumn(int top, int bottom, int col, Change change)
    {
        floor::Step step = floor::ChangeColumn(lines_, top, bottom, col, Columns(), change);
        const int changed = static_cast<int>(step.lines.size());
        Push(std::move(step));
        return changed;
    }
    void Undo();
    void Redo();

private:
    void Push(floor::Step step);
    void Changed();

    FileKind kind_;
    Game game_;
    floor::Lines lines_;
    std::vector<floor::Step> history_;
    size_t done_ = 0;
};

// Ends an edit with Ctrl+Enter by handing its value on for every selected cell.
class PeerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    std::function<void(const QString& value)> fill;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class PeerWindow : public QWidget {
public:
    PeerWindow(FileKind kind, Game game, const GridShape& shape);

    QTableView* View() const { return view_; }
    PeerModel& Model() const { return *model_; }
    QLineEdit* FindBox() const { return find_; }
    void Open(const std::filesystem::path& path, FileKind kind);
    // The selected cells' bounding rows and columns, as the grid's commands take them.
    QRect SelectedRange() const;
    // The grid's command that multiplies the selected values by the number the user gives: 1.1.
    QAction* MultiplyAction() const { return multiply_; }

private:
    void Multiply(const QString& by);
    void Fill(const QString& value);
    void CopyCells();
    void OpenFind();
    void FindNext();
    void Say(const QString& text);

    QTableView* view_;
    PeerModel* model_;
    QLabel* status_;
    QAction* multiply_;
    QLabel* findLabel_ = nullptr;
    QLineEdit* find_ = nullptr;
    GridShape shape_;
};

}  // namespace revlane::bench
