#include "QtErrorPort.h"

#include "SystemInfo.h"
#include "frmError.h"

namespace revlane::ui {

namespace {

QString& LastReport()
{
    static QString report;
    return report;
}

}  // namespace

QString ErrorReport()
{
    return LastReport();
}

std::string QtErrorPort::OsName()
{
    return platform::OsName().toStdString();
}

void QtErrorPort::ShowInternalError(const std::string& report)
{
    LastReport() = QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size()));
    frmError dialog(LastReport(), owner_);
    dialog.exec();
}

}  // namespace revlane::ui
