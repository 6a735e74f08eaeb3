#include "ComparePort.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace revlane::ui {

std::optional<QString> DialogComparePort::PickFile(QWidget* owner, const QString& title, const QString& start, const QString& filter)
{
    const QString file = QFileDialog::getOpenFileName(owner, title, start, filter);
    return file.isEmpty() ? std::nullopt : std::optional(file);
}

std::optional<std::vector<int>> DialogComparePort::PickVehicles(QWidget* owner, const QString& title, const QStringList& names)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("dlgTakeVehicles"));
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Only that file holds these. Each one ticked goes in at the end of its kind's records:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstVehicles"));
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Take"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> chosen;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            chosen.push_back(i);
    return chosen;
}

}  // namespace revlane::ui
