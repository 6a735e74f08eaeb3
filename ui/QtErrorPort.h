#pragma once

#include <QString>

#include <string>

#include "Ports.h"

class QWidget;

namespace revlane::ui {

// Internal-error reports in the error dialog, modal over its owner (or over nothing when
// an error comes before the main window exists). Reports and the system's name are UTF-8.
class QtErrorPort : public InternalErrorPort {
public:
    explicit QtErrorPort(QWidget* owner = nullptr) : owner_(owner) {}
    std::string OsName() override;
    void ShowInternalError(const std::string& report) override;

private:
    QWidget* owner_;
};

}  // namespace revlane::ui
