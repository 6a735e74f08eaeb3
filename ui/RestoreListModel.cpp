#include "RestoreListModel.h"

#include "QtPorts.h"

namespace revlane::ui {

RestoreListModel::RestoreListModel(const Document& document, QObject* parent)
    : QAbstractListModel(parent), document_(document)
{
    document_.Listen(*this);
    count_ = document_.IsOpen() ? document_.RestoreCount() : 0;
}

int RestoreListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

QVariant RestoreListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return FromBytes(document_.RestoreEntry(index.row()));
}

void RestoreListModel::DocumentReset()
{
    count_ = document_.IsOpen() ? document_.RestoreCount() : 0;
    endResetModel();
}

}  // namespace revlane::ui
