#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

#include <filesystem>

#include "Document.h"
#include "Ports.h"

namespace revlane::ui {

// Model text is bytes; each byte is the Latin-1 character of its value and back.
inline QString FromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string ToBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A path as the user reads it, with the system's own separators, and back.
inline QString PathQString(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}
inline std::filesystem::path FsPathOf(const QString& text)
{
    return std::filesystem::path(QDir::toNativeSeparators(text).toStdU16String());
}

// Message boxes titled with the product name, owned by a window.
class QtMessagePort : public MessagePort {
public:
    explicit QtMessagePort(QWidget* owner) : owner_(owner) {}
    MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon) override;

private:
    QWidget* owner_;
};

// The date and time in the user's long formats.
class QtClockPort : public ClockPort {
public:
    std::string LongDate() override;
    std::string LongTime() override;
};

}  // namespace revlane::ui
