#pragma once

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>
#include <vector>

#include "Views.h"


namespace revlane::ui {

// The in-place editor of a cell: a line box over the cell, opened with the cell's text or with
// the character typed in its place. Enter commits, Escape cancels, Up and Down commit and move,
// and leaving it for another control commits; Ctrl+Enter hands the value on for every selected
// cell. A value that its cell cannot hold is not committed: the editor stays open with it, and
// refused() says why.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Why a value cannot be committed; empty when it can.
    using Check = std::function<QString(const QModelIndex& index, const QString& value)>;

    using QStyledItemDelegate::QStyledItemDelegate;
    void SetCheck(Check check) { check_ = std::move(check); }
    // How the next editor starts: with the cell's text (none), or with one character in its place.
    void StartWith(std::optional<QChar> typed) { typed_ = typed; }
    QLineEdit* Editor() const { return editor_; }
    // Puts the open editor's caret where its start asks, with nothing selected.
    void PlaceCaret() const;
    // Commits the open editor, if any; false when its value was refused and it stays open.
    bool TryCommit();
    // Why the open editor's value cannot be committed; empty when it can (or none is open).
    QString Refused();
    // Closes the open editor, if any, without writing anything back.
    void Cancel();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

signals:
    // Why the value was refused; empty once nothing is refused any more.
    void refused(const QString& why);
    // An edit ended with Up (-1) or Down (1): the current cell moves that way.
    void moveAfterCommit(int rows);
    // Ctrl+Enter ended an edit: the value goes into every selected cell, the edited one too.
    void fillRequested(const QString& value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Check check_;
    mutable std::optional<QChar> typed_;
    mutable int caret_ = 0;
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
    mutable QPointer<QLineEdit> spare_;
};

// The grid: a table of the open file's rows under its column captions, whose first columns (a
// vehicle's key) stay in view while the values scroll, as a second view laid over them shows
// them. Only values take the current cell: a key, the Enter, Space, Backspace, Escape or F2 key
// or a double-click opens the editor with the cell's text, any other character replaces it.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    // The menu the right mouse button, the Menu key or Shift+F10 opens over the cells: the
    // commands added to the view.
    QMenu* Menu();
    // The selected cells' bounding rows and columns (x a column, y a row), values only; the
    // current cell alone where nothing is selected, an empty rectangle where there is none.
    QRect SelectedRange() const;

    CellDelegate* Delegate() const { return delegate_; }
    // The view laid over the columns that stay in view; none before a file with such columns.
    QTableView* FrozenView() const { return frozen_; }

    // Gives the view the open file's shape, after the model was reset: its standard column
    // widths, the columns that stay in view and the height of its captions.
    void ShowView(const ViewGeometry& geometry);
    // Before a reset of the model: nothing is laid out until ShowView lays the view out once.
    void HoldLayout() { holding_ = true; }
    int FixedColumns() const { return fixedCols_; }
    int RowHeight() const;

    // Commits an open editor; false when its value was refused and it stays open.
    bool CommitEdit() { return delegate_->TryCommit(); }
    void CancelEdit() { delegate_->Cancel(); }
    // Makes a cell current, as a click does, and brings it into view.
    void MoveTo(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowMenu(const QPoint& at);
    void OpenEditor(std::optional<QChar> typed);
    void SetRowHeights();
    void MakeFrozen();
    std::vector<QTableView*> Views();
    void PlaceFrozen();
    int FrozenWidth() const;

    QTableView* frozen_ = nullptr;
    CellDelegate* delegate_;
    QMenu* menu_ = nullptr;
    int fixedCols_ = 0;
    int headerLines_ = 1;
    bool holding_ = false;
};

}  // namespace revlane::ui
