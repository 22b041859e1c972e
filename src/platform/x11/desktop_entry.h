#pragma once

#include <QObject>

namespace platform::x11 {

// Qt 6.4 names the desktop entry of a window to a Wayland compositor (the
// app id) but to an X11 window manager only through the window's class.
// KWin takes the entry, for the window's icon and its launcher, from
// _KDE_NET_WM_DESKTOP_FILE alone, and GNOME Shell looks at
// _GTK_APPLICATION_ID before the class: installed on the application, this
// names the entry on every window of the program as it is created.
class DesktopEntryNamer final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace platform::x11
