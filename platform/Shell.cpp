#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace revlane::platform {

namespace {

ShellOpener& InstalledOpener()
{
    static ShellOpener opener;
    return opener;
}

void OpenOnDesktop(const QString& target)
{
    // The target is already in its final, escaped form: parsing it as encoded text keeps
    // every escape as it is instead of escaping the "%" signs a second time.
    QDesktopServices::openUrl(QUrl::fromEncoded(target.toUtf8(), QUrl::TolerantMode));
}

QString EscapeForMail(QString text)
{
    // "%" first, so that the escapes added below are not escaped again.
    text.replace(QLatin1Char('%'), QLatin1String("%25"));
    text.replace(QLatin1Char('#'), QLatin1String("%23"));
    text.replace(QLatin1Char('&'), QLatin1String("%26"));
    text.replace(QLatin1Char(' '), QLatin1String("%20"));
    return text;
}

}  // namespace

QString MakerEmail()
{
    return QString::fromUtf8(REVLANE_MAKER_EMAIL);
}

QString MakerWebsite()
{
    return QString::fromUtf8(REVLANE_MAKER_WEBSITE);
}

QString MailTarget(const QString& address, const QString& subject, const QString& body)
{
    const QString subjectPart = QLatin1String("?subject=") + EscapeForMail(subject);
    QString bodyPart = QLatin1String("&body=") + EscapeForMail(body);
    bodyPart.replace(QLatin1String("\r\n"), QLatin1String("%0A"));
    return QLatin1String("mailto:") + address + subjectPart + bodyPart;
}

void ShellOpen(const QString& target)
{
    if (const ShellOpener& opener = InstalledOpener())
        opener(target);
    else
        OpenOnDesktop(target);
}

void SendMail(const QString& subject, const QString& body)
{
    ShellOpen(MailTarget(MakerEmail(), subject, body));
}

void OpenWebsite()
{
    ShellOpen(MakerWebsite());
}

ShellOpener SetShellOpener(ShellOpener opener)
{
    return std::exchange(InstalledOpener(), std::move(opener));
}

}  // namespace revlane::platform
