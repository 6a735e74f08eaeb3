#pragma once

#include <QAbstractProxyModel>

#include <algorithm>

namespace revlane::ui {

// The first columns of a model, and of its rows only those the view laid over them shows at a
// time, from the grid's top row on: that view then lays out a screenful of rows, not every row of
// a file of a million, at every read.
class LeadingColumns : public QAbstractProxyModel {
public:
    explicit LeadingColumns(QObject* parent) : QAbstractProxyModel(parent) {}
    // How many of the first columns.
    void SetCount(int count)
    {
        if (count == count_)
            return;
        beginResetModel();
        count_ = count;
        endResetModel();
    }
    // The rows from `first`, as many as `shown`.
    void SetRows(int first, int shown)
    {
        if (shown != shown_ || RowsFrom(first) != rowCount()) {
            beginResetModel();
            first_ = first;
            shown_ = shown;
            endResetModel();
        } else if (first != first_) {
            first_ = first;
            if (rowCount() > 0 && columnCount() > 0)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    }
    void setSourceModel(QAbstractItemModel* source) override
    {
        QAbstractProxyModel::setSourceModel(source);
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            first_ = 0;
            endResetModel();
        });
        connect(source, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
            const int top = std::max(from.row(), first_) - first_, bottom = std::min(to.row() - first_, rowCount() - 1);
            if (from.column() < columnCount() && top <= bottom)
                emit dataChanged(index(top, from.column()), index(bottom, std::min(to.column(), columnCount() - 1)));
        });
    }
    QModelIndex mapToSource(const QModelIndex& index) const override
    {
        return index.isValid() ? sourceModel()->index(first_ + index.row(), index.column()) : QModelIndex();
    }
    QModelIndex mapFromSource(const QModelIndex& index) const override
    {
        const int row = index.row() - first_;
        return index.isValid() && index.column() < columnCount() && row >= 0 && row < rowCount() ? createIndex(row, index.column())
                                                                                                : QModelIndex();
    }
    QModelIndex index(int row, int col, const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || row < 0 || col < 0 || row >= rowCount() || col >= columnCount() ? QModelIndex() : createIndex(row, col);
    }
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !sourceModel() ? 0 : RowsFrom(first_);
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !sourceModel() ? 0 : std::min(count_, sourceModel()->columnCount());
    }
    // The captions are the source's, whatever rows are shown.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        return sourceModel() && orientation == Qt::Horizontal ? sourceModel()->headerData(section, orientation, role) : QVariant();
    }

private:
    int RowsFrom(int first) const { return sourceModel() ? std::clamp(sourceModel()->rowCount() - first, 0, shown_) : 0; }

    int count_ = 0;
    int first_ = 0;
    int shown_ = 0;
};

}  // namespace revlane::ui
