#pragma once

#include <QWidget>

namespace revlane::ui {

// The main window: one window that holds every command of Revlane.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

}  // namespace revlane::ui
