#pragma once

#include <string>

namespace revlane {

// The program's numbered string table: the default.ide column captions and the stock lines.
// A number without an entry gives the empty text.
const std::string& LoadResString(int id);

}  // namespace revlane
