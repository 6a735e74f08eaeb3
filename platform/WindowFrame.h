#pragma once

class QWidget;

namespace revlane::platform {

// Gives a shown top-level window a fixed frame that still maximizes: no sizing border, the
// maximize box kept. Only Windows lets a program ask for that; elsewhere the window manager
// decides, and this does nothing.
void KeepFrameFixed(QWidget* window);

}  // namespace revlane::platform
