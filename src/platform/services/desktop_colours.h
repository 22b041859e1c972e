#pragma once

#include "platform/services/system_colours.h"

#include <QStringView>

namespace platform {

// The desktops that say what interface colours are, each from its own
// source: KDE Plasma from kdeglobals, GNOME through the portal's
// appearance settings. Every other desktop leaves Qt's palette to speak.
enum class ColourDesktop { Other, Kde, Gnome };

// The desktop named by XDG_CURRENT_DESKTOP, a colon-separated list such as
// "ubuntu:GNOME".
ColourDesktop ColourDesktopFor(QStringView currentDesktop);

// What the desktop in use says now. Which desktop that is, is decided once,
// at the first call; what it says is read at each one.
DesktopSays DesktopSaysNow();

} // namespace platform
