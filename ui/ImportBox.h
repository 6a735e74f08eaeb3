#pragma once

#include <QUndoStack>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "Document.h"
#include "ExpressImport.h"
#include "Ports.h"
#include "Restore.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace revlane::ui {

struct ControlMaker;
class RestoreListModel;

// Express import, which replaces a vehicle's whole line with one the user types or pastes, and
// Restore defaults, which puts a vehicle's stock line back: the controls under the grid, each
// replacement one step of the undo stack.
class ImportBox : public QWidget {
    Q_OBJECT
public:
    struct Parts {
        Document& document;
        ExpressImport& import;
        RestoreDefaults& restore;
        QUndoStack& undo;
        MessagePort& messages;
        // Ends an edit in the grid before a line is replaced; false where its value was refused.
        std::function<bool()> commit;
    };
    ImportBox(const Parts& parts, const ControlMaker& make, QWidget* parent);
    ~ImportBox() override;

    // After a read or a close: the import box shows the text (empty, or a hint), no vehicle is
    // named for it yet, and the controls work where a file is open.
    void ShowReadFile(const QString& importText);
    // The import box's text alone, as a failed open leaves the file before it in view.
    void SetImportText(const QString& text);

signals:
    // What the line above the grid says of the import text; empty once there is nothing to say.
    void told(const QString& text);
    // An import replaced the line of this row, in the view now shown.
    void replaced(int row);

private:
    void TextChanged();
    void ClearImport();
    void ShowImportVehicle(const QString& name);
    void PasteClicked();
    void ImportClicked();
    void RestoreClicked();
    void SetEnabled(bool enabled, bool restore);

    Parts parts_;
    std::unique_ptr<RestoreListModel> restoreList_;
    QLabel* lblImport;
    std::array<QLabel*, 3> lblMisc{};
    QLineEdit* txtImport;
    QPushButton* cmdPaste;
    QLineEdit* txtImportv;
    QPushButton* cmdImport;
    QLabel* lblRestore;
    QComboBox* comRestore;
    QPushButton* cmdRestore;
    // The text holds a character the file cannot hold, and the line above the grid says so.
    bool refused_ = false;
};

}  // namespace revlane::ui
