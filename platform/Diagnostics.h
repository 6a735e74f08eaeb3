#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace revlane::platform {

// The name of a Windows version, from what the system's version call gave: whether it
// succeeded, the platform id (0 Win32s, 1 the Windows 95 line, 2 the NT line) and the
// major and minor version. Build number and service pack play no part.
QString GetWinVersion(bool callSucceeded, int platformId, int major, int minor);

#ifdef Q_OS_WIN
// The name of the running Windows version.
QString GetWinVersion();
#endif

// The physical memory now available, in bytes; nothing where the system does not say.
std::optional<quint64> AvailablePhysicalMemory();

// The "MemAvailable" figure of a Linux /proc/meminfo text, in bytes.
std::optional<quint64> MemAvailableFromMeminfo(const QByteArray& meminfo);

}  // namespace revlane::platform
