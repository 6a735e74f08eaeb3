#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

namespace revlane::ui {

// What a comparison asks the user: the file to compare the open one with, and which of the
// vehicles only that file holds to take.
class ComparePort {
public:
    virtual ~ComparePort() = default;
    // A file chosen in a dialog that starts at `start` (a folder, or a file there chosen at
    // first), offering the files `filter` names first; none when the user cancels.
    virtual std::optional<QString> PickFile(QWidget* owner, const QString& title, const QString& start,
                                            const QString& filter) = 0;
    // The indexes of the vehicles chosen among those named, every one ticked at first; none when
    // the user cancels.
    virtual std::optional<std::vector<int>> PickVehicles(QWidget* owner, const QString& title, const QStringList& names) = 0;
};

// The system's file dialog, and a list of the vehicles to tick.
class DialogComparePort : public ComparePort {
public:
    std::optional<QString> PickFile(QWidget* owner, const QString& title, const QString& start, const QString& filter) override;
    std::optional<std::vector<int>> PickVehicles(QWidget* owner, const QString& title, const QStringList& names) override;
};

}  // namespace revlane::ui
