#pragma once

#include <QString>

namespace revlane::platform {

// The running system's name, as error reports and the about box show it.
QString OsName();

}  // namespace revlane::platform
