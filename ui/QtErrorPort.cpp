#include "QtErrorPort.h"

#include "SystemInfo.h"
#include "ErrorDialog.h"

namespace revlane::ui {

std::string QtErrorPort::OsName()
{
    return platform::OsName().toStdString();
}

void QtErrorPort::ShowInternalError(const std::string& report)
{
    ErrorDialog dialog(QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size())), owner_);
    dialog.exec();
}

}  // namespace revlane::ui
