#pragma once

#include <QString>

namespace revlane::platform {

// The running system's name, as error reports and the about box show it: the Windows
// version name on Windows, the system's own product name elsewhere
// ("Debian GNU/Linux 12 (bookworm)").
QString OsName();

// The system's short name, as the memory line of the about box gives it ("Windows", "Linux").
QString SystemShortName();

}  // namespace revlane::platform
