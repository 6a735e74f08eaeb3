#include "CellDelegate.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

#include "VehicleTableModel.h"

// The in-place editor of a cell.
namespace revlane::ui {

namespace {

// A value copied from a spreadsheet's cell comes with a line end; pasted into the editor, that
// one is dropped. Typing puts no line end in a line box, so one just before the caret came with
// a paste.
class DropPastedLineEnd : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const QString before = input.left(pos);
        const int end = before.endsWith(QLatin1String("\r\n")) ? 2 : before.endsWith('\n') || before.endsWith('\r') ? 1 : 0;
        input.remove(pos - end, end);
        pos -= end;
        return Acceptable;
    }
};

}  // namespace

QString CellDelegate::Refused()
{
    const auto* table = qobject_cast<const VehicleTableModel*>(index_.model());
    if (!editor_ || !table)
        return QString();
    const QString why = table->Refusal(index_, editor_->text());
    return why.isEmpty() ? why : why + QStringLiteral(" Put it right, or press Escape.");
}

bool CellDelegate::TryCommit()
{
    QLineEdit* editor = editor_;
    if (!editor)
        return true;
    const QString why = Refused();
    if (!why.isEmpty()) {
        emit refused(why);
        editor->setFocus();
        return false;
    }
    emit refused(QString());
    emit commitData(editor);
    emit closeEditor(editor, NoHint);
    return true;
}

void CellDelegate::Cancel()
{
    if (QLineEdit* editor = editor_) {
        emit refused(QString());
        emit closeEditor(editor, RevertModelCache);
    }
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    index_ = index;
    QLineEdit* editor = spare_;
    spare_ = nullptr;
    if (!editor || editor->parentWidget() != parent) {
        delete editor;
        editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("txtGrid"));
        editor->setFrame(false);
        editor->setValidator(new DropPastedLineEnd(editor));
    }
    editor_ = editor;
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = static_cast<QLineEdit*>(editor);
    if (typed_) {
        box->setText(QString(*typed_));
        caret_ = 1;
        typed_.reset();
    } else {
        box->setText(index.data(Qt::EditRole).toString());
        // After the 15th character, where a long value's end is still in view.
        caret_ = std::min<int>(15, int(box->text().size()));
    }
    PlaceCaret();
}

void CellDelegate::PlaceCaret() const
{
    if (editor_) {
        editor_->deselect();
        editor_->setCursorPosition(caret_);
    }
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void CellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == editor_)
        editor_ = nullptr;
    // Kept, hidden, for the next edit: making a line box costs more than all the rest of an edit.
    if (!spare_ && qobject_cast<QLineEdit*>(editor)) {
        spare_ = static_cast<QLineEdit*>(editor);
        return;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool CellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != editor_)
        return QStyledItemDelegate::eventFilter(watched, event);
    QLineEdit* editor = editor_;
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)) {
                TryCommit();
            } else if (const QString why = Refused(); !why.isEmpty()) {
                emit refused(why);
            } else {
                const QString value = editor->text();
                emit refused(QString());
                emit closeEditor(editor, RevertModelCache);
                emit fillRequested(value);
            }
            return true;
        case Qt::Key_Escape:
            emit refused(QString());
            emit closeEditor(editor, RevertModelCache);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down: {
            // The edit lands in the cell it was made in before the current cell moves.
            const int step = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Up ? -1 : 1;
            if (TryCommit())
                emit moveAfterCommit(step);
            return true;
        }
        default: return false;  // text editing, and Tab on to the next control
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // Leaving the editor for another control (or another cell) ends the edit there; switching
        // to another program, or to the editor's own menu, leaves it open, as it leaves the caret.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            TryCommit();
        return false;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace revlane::ui
