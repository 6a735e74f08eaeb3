#pragma once

#include <QString>

#include <functional>

namespace revlane::platform {

// The maker's mailbox and web page, fixed when the program is built.
QString MakerEmail();
QString MakerWebsite();

// The "mailto:" target of a mail to `address`. Blanks become "%20" and each CR LF "%0A";
// besides those only "%", "#" and "&" are escaped, because unescaped they would end the body
// early or change its meaning ("Error code # 53" would lose everything after the "#").
// The body part is present even when the body is empty.
QString MailTarget(const QString& address, const QString& subject, const QString& body);

// Hands a target (a document or an address) to the desktop. The outcome is not examined:
// a missing mail program or browser is the desktop's business, not ours.
void ShellOpen(const QString& target);
// Composes a mail to the maker and hands it to the desktop.
void SendMail(const QString& subject, const QString& body);
// Opens the product's web page.
void OpenWebsite();

// What ShellOpen does with a target. Tests install one that records the targets; an empty
// function puts the desktop back. Returns the one that was installed before.
using ShellOpener = std::function<void(const QString& target)>;
ShellOpener SetShellOpener(ShellOpener opener);

}  // namespace revlane::platform
