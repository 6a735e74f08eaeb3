#pragma once

#include <QLatin1String>
#include <QSettings>
#include <QString>

#include <memory>

namespace revlane::platform {

// A remembered value: its section and its key.
struct SettingKey {
    QLatin1String section;
    QLatin1String key;
};

namespace setting {
inline constexpr SettingKey WindowState{QLatin1String("General"), QLatin1String("WindowState")};
inline constexpr SettingKey LastUsed{QLatin1String("General"), QLatin1String("LastUsed")};
inline constexpr SettingKey Gta3Path{QLatin1String("GTA3"), QLatin1String("Gta3Path")};
inline constexpr SettingKey Gta3Exe{QLatin1String("GTA3"), QLatin1String("Gta3Exe")};
inline constexpr SettingKey VicePath{QLatin1String("Vice"), QLatin1String("VicePath")};
inline constexpr SettingKey ViceExe{QLatin1String("Vice"), QLatin1String("ViceExe")};
}  // namespace setting

// The user's remembered settings: text values by section and key, under the organisation and
// application name "Revlane". A key that is absent reads as empty text; nothing is deleted.
class Settings {
public:
    // The user's own store: the registry on Windows, an INI file in the user's configuration
    // folder elsewhere.
    Settings();
    // A store in the given file (for tests, which must never touch the user's own settings).
    Settings(QSettings::Format format, const QString& fileName);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    QString Read(const SettingKey& key) const;
    // Stores the value at once, as the program may end right after. Returns whether it was
    // stored.
    bool Write(const SettingKey& key, const QString& value);

    // Where the values are kept: the file, or the registry key on Windows.

private:
    std::unique_ptr<QSettings> store_;
};

}  // namespace revlane::platform
