#include "SystemInfo.h"

#include <QSysInfo>

#include "Diagnostics.h"

namespace revlane::platform {

QString OsName()
{
#ifdef Q_OS_WIN
    return GetWinVersion();
#else
    return QSysInfo::prettyProductName();
#endif
}

QString SystemShortName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("Windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macOS");
#elif defined(Q_OS_LINUX)
    return QStringLiteral("Linux");
#else
    // "freebsd" and the like: the kernel's name, capitalised.
    QString name = QSysInfo::kernelType();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
#endif
}

}  // namespace revlane::platform
