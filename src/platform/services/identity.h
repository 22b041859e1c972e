#pragma once

#include <QString>

class QIcon;

namespace platform {

// Names the desktop entry that the program's windows belong to, as their
// Wayland app id and X11 class, so that the desktop shows the entry's name
// and icon for them and groups them with a pinned launcher; and gives every
// window of the program `icon`, for desktops that draw a window's own.
// Before the first window.
void TellDesktopWhoWeAre(const QString& desktopId, const QIcon& icon);

} // namespace platform
