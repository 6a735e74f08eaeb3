#pragma once

#include <QAbstractTableModel>
#include <QUndoStack>

#include <string>

#include "Catalogue.h"
#include "CellMarks.h"
#include "Document.h"
#include "GameCheck.h"

namespace revlane {
class Comparison;
}

namespace revlane::ui {

// The open file as Qt's views see it: one row per row of the vehicle section, one column per
// field of the view, the column captions as headers. It hears every change of the document and
// tells the views. A cell's marks come through the roles: bold on a tint where it differs from
// stock, a warning colour where it leaves its column's range, and the reason as its tooltip and
// its description to assistive technology. A value typed into a cell comes in through setData
// alone and goes to the undo stack as one step.
class VehicleTableModel : public QAbstractTableModel, private DocumentListener {
    Q_OBJECT
public:
    // The marks must listen to the document before it: they are worked out again first.
    VehicleTableModel(Document& document, const CellMarks& marks, const CaptionTable& captions, QUndoStack& undo,
                      QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Why a value cannot go into a cell, in a sentence for the user; empty where it can.
    QString Refusal(const QModelIndex& index, const QString& value) const;
    // The open file's shape.
    const ViewGeometry& Geometry() const { return document_.Geometry(); }
    // What the marks of a cell tell, one line each; empty for a cell without marks.
    QString MarksText(int row, int col) const;
    // From now on, marks each cell whose value differs from the other file's, with a mark of its
    // own beside the value and that value in its description; none stops.
    void ShowComparison(const Comparison* comparison);
    // What the game would trip on is marked as a value outside its range is, and told beside it.
    void SetGameCheck(const GameCheck* check) { check_ = check; }
    // The vehicle of a row and the field of a column, as the user knows them: "LANDSTAL fMass".
    QString What(int row, int col) const;

signals:
    // What the line above the grid says of a value just put in, such as a decimal comma turned.
    void told(const QString& text);

private:
    void DocumentResetting() override;
    void DocumentReset() override;
    void RowsChanged(int first, int last) override;
    void TakeCounts();
    QString Caption(int col) const;
    QString WholeCaption(int col) const;

    Document& document_;
    const CellMarks& marks_;
    const CaptionTable& captions_;
    QUndoStack& undo_;
    const Comparison* comparison_ = nullptr;
    const GameCheck* check_ = nullptr;
    // What the views show: the counts only change with a reset.
    int rows_ = 0;
    int cols_ = 0;
};

// "1 decimal comma written as a point", "2 decimal commas written as points".
QString DecimalCommasText(int count);

}  // namespace revlane::ui
