#include "Settings.h"

#include <QStringList>
#include <QVariant>

namespace revlane::platform {

namespace {

QString PathOf(const SettingKey& key)
{
    return QString(key.section) + QLatin1Char('/') + QString(key.key);
}

}  // namespace

Settings::Settings()
    : store_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Revlane"),
                                         QStringLiteral("Revlane")))
{
}

Settings::Settings(QSettings::Format format, const QString& fileName)
    : store_(std::make_unique<QSettings>(fileName, format))
{
}

Settings::~Settings() = default;

QString Settings::Read(const SettingKey& key) const
{
    const QVariant value = store_->value(PathOf(key));
    // An INI value with a comma that was written by hand, unquoted, reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool Settings::Write(const SettingKey& key, const QString& value)
{
    store_->setValue(PathOf(key), value);
    store_->sync();
    return store_->status() == QSettings::NoError;
}

}  // namespace revlane::platform
