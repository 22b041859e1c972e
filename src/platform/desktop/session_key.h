#pragma once

#include <QString>

namespace platform {

// The desktop session a copy of the program runs in, as a name for its
// lock: the Wayland display where WAYLAND_DISPLAY is set, so that a native
// copy and an Xwayland copy of one session are rivals, else `xDisplay`;
// with the user either way. Copies of different sessions, displays or users
// are not rivals.
QString SessionKey(const QString& xDisplay);

} // namespace platform
