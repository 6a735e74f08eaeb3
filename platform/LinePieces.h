#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Text.h"

namespace revlane::platform {

// Hands `put` the lines, each with its end, in pieces of up to `pieceSize` bytes, in order. A
// file of more than a couple of pieces has the next piece gathered on a thread of its own while
// `put` writes the one before. Whatever `put` throws stops the gathering, and is thrown on.
void PutInPieces(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends, size_t pieceSize,
                 const std::function<void(std::string_view)>& put);

}  // namespace revlane::platform
