#pragma once

#include <QAbstractProxyModel>
#include <QHeaderView>
#include <QPaintEvent>

#include <algorithm>

// The grid's own parts: its captions and the columns of the view laid over its left edge.
namespace revlane::ui::grid {

// Hands a paint on without the part the key columns laid over the left edge hide: what is drawn
// under them is never seen.
template <typename Paint>
void PaintUncovered(QPaintEvent* event, int covered, int height, Paint paint)
{
    const QRegion shown = event->region() - QRect(0, 0, covered, height);
    if (shown.isEmpty())
        return;
    QPaintEvent uncovered(shown);
    paint(&uncovered);
}

// The column captions, as high as the view's caption lines. The table asks its header how high it
// would like to be whenever it lays itself out: measuring every caption's text to answer would
// cost more than a read of the file. A new height waits for that layout, which then moves the
// header and the cells once; a fixed height would move them at each of its limits.
class CaptionHeader : public QHeaderView {
public:
    explicit CaptionHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    QSize sizeHint() const override { return QSize(length(), height_); }
    // How far from the left edge the key columns' captions are laid over these.
    int Covered() const { return covered_; }
    void SetCovered(int width) { covered_ = width; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        PaintUncovered(event, covered_, viewport()->height(), [this](QPaintEvent* e) { QHeaderView::paintEvent(e); });
    }

private:
    int height_ = 0;
    int covered_ = 0;
};

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

}  // namespace revlane::ui::grid
