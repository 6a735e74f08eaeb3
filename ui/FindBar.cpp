#include "FindBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "ControlMaker.h"
#include "Document.h"
#include "GridView.h"
#include "QtPorts.h"

namespace revlane::ui {

FindBar::FindBar(const ControlMaker& make, const Document& document, GridView* grid, QWidget* parent)
    : QWidget(parent), document_(document), grid_(grid)
{
    setObjectName(QStringLiteral("picFind"));
    make.Place(this, 5760, 1140, 3255, 285);
    lblFind = make.Label(this, "Find:", true, 0, 30, 1035, 255);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    lblFind->setAlignment(Qt::AlignRight | Qt::AlignTop);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    make.Place(txtFind, 1095, 0, 2160, 285);
    // A screen reader names the box by its label.
    lblFind->setBuddy(txtFind);
    new QShortcut(QKeySequence(Qt::Key_Escape), txtFind, [this] { Close(); }, Qt::WidgetShortcut);
    connect(txtFind, &QLineEdit::returnPressed, this, [this] { FindNext(true); });
    // A name that found nothing is marked until it is changed.
    connect(txtFind, &QLineEdit::textEdited, this, [this] { MarkNotFound(false); });
}

QString FindBar::Text() const
{
    return txtFind->text();
}

void FindBar::Open()
{
    show();
    emit openChanged();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void FindBar::Close()
{
    hide();
    emit openChanged();
    grid_->setFocus(Qt::ShortcutFocusReason);
}

void FindBar::FindNext(bool forward)
{
    const QModelIndex current = grid_->currentIndex();
    const int from = current.isValid() ? current.row() : forward ? -1 : 0;
    const int row = document_.FindVehicle(ToBytes(txtFind->text()), from, forward);
    MarkNotFound(row < 0);
    if (row < 0)
        return;
    grid_->MoveTo(row, current.isValid() ? current.column() : 0);
    // Typing now edits the vehicle found.
    grid_->setFocus(Qt::ShortcutFocusReason);
}

void FindBar::MarkNotFound(bool notFound)
{
    // Said in the box: a message box would stand between the user and the name to put right.
    QPalette colours = parentWidget()->palette();
    if (notFound) {
        colours.setColor(QPalette::Text, WarningColour());
        colours.setColor(QPalette::WindowText, WarningColour());
    }
    txtFind->setPalette(colours);
    lblFind->setPalette(colours);
    lblFind->setText(notFound ? QStringLiteral("Not found:") : QStringLiteral("Find:"));
    const QString why = notFound ? QStringLiteral("No vehicle's name begins with \"%1\".").arg(txtFind->text()) : QString();
    txtFind->setToolTip(why);
    txtFind->setAccessibleDescription(why);
}

}  // namespace revlane::ui
