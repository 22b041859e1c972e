#pragma once

#include <QString>

namespace platform {

// Names the desktop entry that the program's windows belong to, as their
// Wayland app id and X11 class, so that the desktop shows the entry's name
// and icon for them and groups them with a pinned launcher. Before the
// first window.
void TellDesktopWhoWeAre(const QString& desktopId);

} // namespace platform
