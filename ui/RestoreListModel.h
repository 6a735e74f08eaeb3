#pragma once

#include <QAbstractListModel>

#include "Document.h"

namespace revlane::ui {

// The restore list: the vehicles the document offers, under the names read, anew at every read.
class RestoreListModel : public QAbstractListModel, private DocumentListener {
    Q_OBJECT
public:
    explicit RestoreListModel(const Document& document, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void DocumentResetting() override { beginResetModel(); }
    void DocumentReset() override;
    // A changed vehicle keeps the name it was read with.
    void RowsChanged(int, int) override {}

    const Document& document_;
    int count_ = 0;
};

}  // namespace revlane::ui
