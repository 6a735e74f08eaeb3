#include "Diagnostics.h"

#include <QList>

#include <limits>

#ifdef Q_OS_WIN
#include <QOperatingSystemVersion>
#endif

#include "WindowsApi.h"

#ifdef Q_OS_LINUX
#include <QFile>
#endif

namespace revlane::platform {

QString GetWinVersion(bool known, int major, int minor, int build)
{
    if (!known)
        return QStringLiteral("Unable to identify your version of Windows.");
    // Qt 6 runs on Windows 10 and later only; Windows 11 is still 10.0, its builds begin at 22000.
    if (major == 10 && minor == 0)
        return build >= 22000 ? QStringLiteral("Windows 11") : QStringLiteral("Windows 10");
    return QStringLiteral("Windows NT");
}

#ifdef Q_OS_WIN
QString GetWinVersion()
{
    // Qt asks the kernel for the true version; the old version call would report every
    // release since 8 as 6.2 to a program without a compatibility manifest. Every Windows
    // that Qt 6 runs on is of the NT line; the third number is the build.
    const QOperatingSystemVersion version = QOperatingSystemVersion::current();
    const bool known = version.type() == QOperatingSystemVersion::Windows && version.majorVersion() > 0;
    return GetWinVersion(known, version.majorVersion(), qMax(0, version.minorVersion()),
                         qMax(0, version.microVersion()));
}
#endif

std::optional<quint64> MemAvailableFromMeminfo(const QByteArray& meminfo)
{
    static const QByteArray key = QByteArrayLiteral("MemAvailable:");
    const QList<QByteArray> lines = meminfo.split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith(key))
            continue;
        // "MemAvailable:   12345678 kB"
        const QList<QByteArray> parts = line.mid(key.size()).simplified().split(' ');
        bool ok = false;
        const quint64 value = parts.value(0).toULongLong(&ok);
        if (!ok)
            return std::nullopt;
        quint64 unit = 1;
        const QByteArray suffix = parts.value(1).toLower();
        if (suffix == "kb")
            unit = 1024;
        else if (!suffix.isEmpty())
            return std::nullopt;
        if (value > std::numeric_limits<quint64>::max() / unit)
            return std::nullopt;
        return value * unit;
    }
    return std::nullopt;
}

std::optional<quint64> AvailablePhysicalMemory()
{
#if defined(Q_OS_WIN)
    // The extended call: the old one stops counting at 4 GB.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return std::nullopt;
    return quint64(status.ullAvailPhys);
#elif defined(Q_OS_LINUX)
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return MemAvailableFromMeminfo(file.readAll());
#else
    return std::nullopt;
#endif
}

}  // namespace revlane::platform
