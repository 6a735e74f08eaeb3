#pragma once

#include <QAbstractProxyModel>

#include <algorithm>

namespace revlane::ui {

// The first columns of a model, for the view laid over them: it shows those and has no others to
// lay out and hide at every read.
class LeadingColumns : public QAbstractProxyModel {
public:
    explicit LeadingColumns(QObject* parent) : QAbstractProxyModel(parent) {}
    void SetCount(int count)
    {
        if (count == count_)
            return;
        beginResetModel();
        count_ = count;
        endResetModel();
    }
    void setSourceModel(QAbstractItemModel* source) override
    {
        QAbstractProxyModel::setSourceModel(source);
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
        connect(source, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
            if (from.column() < columnCount())
                emit dataChanged(index(from.row(), from.column()), index(to.row(), std::min(to.column(), columnCount() - 1)));
        });
    }
    QModelIndex mapToSource(const QModelIndex& index) const override
    {
        return index.isValid() ? sourceModel()->index(index.row(), index.column()) : QModelIndex();
    }
    QModelIndex mapFromSource(const QModelIndex& index) const override
    {
        return index.isValid() && index.column() < columnCount() ? createIndex(index.row(), index.column()) : QModelIndex();
    }
    QModelIndex index(int row, int col, const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || row < 0 || col < 0 || row >= rowCount() || col >= columnCount() ? QModelIndex() : createIndex(row, col);
    }
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !sourceModel() ? 0 : sourceModel()->rowCount();
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !sourceModel() ? 0 : std::min(count_, sourceModel()->columnCount());
    }

private:
    int count_ = 0;
};

}  // namespace revlane::ui
