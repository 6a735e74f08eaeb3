#include "frmMain.h"

namespace revlane::ui {

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Revlane " REVLANE_VERSION));
    resize(610, 450);
}

}  // namespace revlane::ui
