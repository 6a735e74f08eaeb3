#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace revlane::platform {

// The name of a Windows version, from what the system told of it: whether it could tell, the
// major and minor version and the build number. Windows 11 kept version 10.0 and tells itself
// apart by its builds only.
QString GetWinVersion(bool known, int major, int minor, int build);

#ifdef Q_OS_WIN
// The name of the running Windows version.
QString GetWinVersion();
#endif

// The physical memory now available, in bytes; nothing where the system does not say.
std::optional<quint64> AvailablePhysicalMemory();

// The "MemAvailable" figure of a Linux /proc/meminfo text, in bytes.
std::optional<quint64> MemAvailableFromMeminfo(const QByteArray& meminfo);

}  // namespace revlane::platform
