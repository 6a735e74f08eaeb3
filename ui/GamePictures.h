#pragma once

#include <QPixmap>

#include "Views.h"

namespace revlane::ui {

// The 32 x 32 picture shown for a game: our own simple drawings, one for each game, drawn
// sharp at the given device pixel ratio.
QPixmap GamePicture(Game game, qreal devicePixelRatio = 1.0);

}  // namespace revlane::ui
