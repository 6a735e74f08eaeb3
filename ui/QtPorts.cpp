#include "QtPorts.h"

#include <QDateTime>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>

namespace revlane::ui {

QString NotLatin1(const QString& text, bool defaultIde)
{
    for (const char32_t code : text.toUcs4()) {
        if (code > 0xFF)
            return QStringLiteral("%1 cannot hold the character \"%2\" (U+%3): the file's text is Latin-1, one byte a character.")
                .arg(QLatin1String(defaultIde ? "default.ide" : "handling.cfg"), QString::fromUcs4(&code, 1),
                     QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    return QString();
}

MsgAnswer QtMessagePort::ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(owner_);
    box.setWindowTitle(QStringLiteral("Revlane"));
    box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Ok: return MsgAnswer::OK;
    default:
        // Closing the box answers with its escape button.
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : buttons == MsgButtons::OK ? MsgAnswer::OK : MsgAnswer::Cancel;
    }
}

std::optional<QString> QtNumberPort::AskNumber(QWidget* parent, const QString& label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QStringLiteral("Revlane"), label, QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::string QtClockPort::LongDate()
{
    return ToBytes(QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat));
}

std::string QtClockPort::LongTime()
{
    return ToBytes(QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat));
}

}  // namespace revlane::ui
