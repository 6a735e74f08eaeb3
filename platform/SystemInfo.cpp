#include "SystemInfo.h"

#include <QSysInfo>

namespace revlane::platform {

QString OsName()
{
    return QSysInfo::prettyProductName();
}

}  // namespace revlane::platform
