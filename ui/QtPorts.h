#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <optional>

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
// Why a file of the open kind cannot take the text: its first character outside Latin-1, which
// ToBytes would turn into "?" without a word. Empty when every character has its byte. Asked of
// everything the user types or pastes before it goes to the model.
QString NotLatin1(const QString& text, bool defaultIde);

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

// Asks the user for a number in a modal box titled with the product; none when the user cancels.
class NumberPort {
public:
    virtual ~NumberPort() = default;
    virtual std::optional<QString> AskNumber(QWidget* parent, const QString& label) = 0;
};

class QtNumberPort : public NumberPort {
public:
    std::optional<QString> AskNumber(QWidget* parent, const QString& label) override;
};

// The date and time in the user's long formats.
class QtClockPort : public ClockPort {
public:
    std::string LongDate() override;
    std::string LongTime() override;
};

}  // namespace revlane::ui
