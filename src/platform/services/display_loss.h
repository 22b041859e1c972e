#pragma once

#include <functional>

namespace platform {

// Qt ends the program the moment it loses the display or the compositor,
// closing no window: on X11 by exit(), on Wayland by _exit(), each right
// after saying so. `save` runs once then, before the end. It must not touch
// the display, and may run on a thread of Qt's own.
void SaveOnDisplayLoss(std::function<void()> save);

// Tells that the display is gone, for a connection of the program's own
// that learns it before Qt does.
void DisplayLost();

} // namespace platform
