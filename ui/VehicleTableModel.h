#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "CellMarks.h"
#include "Document.h"

namespace revlane::ui {

// The open file as Qt's views see it: one row per row of the vehicle section, one column per
// field of the view, the column captions as headers. A cell's marks come through the roles:
// bold on a tint where it differs from stock, a warning colour where it leaves its column's
// range, and the reason as its tooltip and its description to assistive technology.
class VehicleTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Where an edit of a cell goes, as the bytes typed; returns whether it was taken.
    using EditSink = std::function<bool(int row, int col, const std::string& value)>;

    VehicleTableModel(const Document& document, CellMarks& marks, const CaptionTable& captions,
                      QObject* parent = nullptr);
    void SetEditSink(EditSink sink) { edit_ = std::move(sink); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Around a read or a close of the document: every row and column anew.
    void BeginReset() { beginResetModel(); }
    void EndReset();
    // After rows' lines changed: their marks are worked out again, and their cells shown anew.
    void RowsChanged(const std::vector<int>& rows);

    // What a cell's marks tell, one line each; empty for a cell without marks.
    QString MarksText(int row, int col) const;

private:
    QString Caption(int col) const;
    QString WholeCaption(int col) const;

    const Document& document_;
    CellMarks& marks_;
    const CaptionTable& captions_;
    EditSink edit_;
    // What the views show: the counts only change with a reset.
    int rows_ = 0;
    int cols_ = 0;
};

// The restore list: the vehicles the document offers, under the names read.
class RestoreListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RestoreListModel(const Document& document, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // After a read or a close.
    void Reset();

private:
    const Document& document_;
    int count_ = 0;
};

}  // namespace revlane::ui
