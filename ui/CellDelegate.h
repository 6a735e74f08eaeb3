#pragma once

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

#include <optional>

namespace revlane::ui {

// The in-place editor of a cell: a line box over the cell, opened with the cell's text or with
// the character typed in its place. Enter commits, Escape cancels, Up and Down commit and move,
// and leaving it for another control commits; Ctrl+Enter hands the value on for every selected
// cell. A value that its cell cannot hold (the table model's Refusal) is not committed: the
// editor stays open with it, and refused() says why.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
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
    mutable std::optional<QChar> typed_;
    mutable int caret_ = 0;
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
    mutable QPointer<QLineEdit> spare_;
};

}  // namespace revlane::ui
