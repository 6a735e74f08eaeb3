#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

#include "Compare.h"
#include "Document.h"
#include "StockLines.h"

class QAction;
class QUndoStack;
class QWidget;

namespace revlane::ui {

class ComparePort;
class GridView;
class VehicleTableModel;

// The grid's commands of a comparison with another file: Compare with... (Ctrl+Shift+D), the next
// and the previous differing value (Alt+Down, Alt+Up), Take their values (Ctrl+Shift+T), Take
// their vehicles... and Stop comparing (Escape in the grid while it compares). The model works
// out what differs and what a take puts in; each take is one undo step, and the line above the
// grid says what each command found or did.
class Comparer : public QObject {
    Q_OBJECT
public:
    struct Parts {
        Document& document;
        Document::Ports ports;
        const DefaultLines& stock;
        VehicleTableModel& table;
        GridView& grid;
        QUndoStack& undo;
        ComparePort& port;
        // Ends an edit in the grid first; false where its value was refused.
        std::function<bool()> commit;
        // The line above the grid, in the warning colour where asked.
        std::function<void(const QString& text, bool warning)> status;
    };
    Comparer(Parts parts, QObject* parent);
    ~Comparer() override;

    // Compares the open file with the file at the path, where it can be; otherwise says why, and
    // an earlier comparison stays.
    void CompareWith(const std::filesystem::path& path);
    // Clears the marks; the commands that need a comparison wait for the next.
    void Stop();
    bool Comparing() const { return comparison_ != nullptr; }

private:
    QAction* Add(const char* name, const char* text, const QKeySequence& keys, std::function<void()> run);
    void Choose();
    void Next(bool forward);
    void TakeValues();
    void TakeVehicles();
    void Enable();
    QString Name() const;

    Parts parts_;
    std::unique_ptr<Comparison> comparison_;
    QAction* stop_ = nullptr;
    std::vector<QAction*> needed_;  // the commands that work on a comparison
};

}  // namespace revlane::ui
