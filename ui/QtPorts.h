#pragma once

#include <QString>
#include <QWidget>

#include "ConfigFile.h"
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
