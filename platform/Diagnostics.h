#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace revlane::platform {

// The name of a Windows version, from what the system's version call gave: whether it
// succeeded, the platform id (0 Win32s, 1 the Windows 95 line, 2 the NT line), the major and
// minor version and the build number. Windows 11 kept version 10.0 and tells itself apart
// by its builds only.
QString GetWinVersion(bool callSucceeded, int platformId, int major, int minor, int build);

#ifdef Q_OS_WIN
// The name of the running Windows version.
QString GetWinVersion();
#endif

// The physical memory now available, in bytes; nothing where the system does not say.
std::optional<quint64> AvailablePhysicalMemory();

// The "MemAvailable" figure of a Linux /proc/meminfo text, in bytes.
std::optional<quint64> MemAvailableFromMeminfo(const QByteArray& meminfo);

}  // namespace revlane::platform
