#pragma once

#include <QString>

class QWindow;

namespace platform::wayland {

// A new activation token for `appId`, asked for on Qt's own connection to
// the compositor on behalf of `window`, or of the program where it is null;
// empty where the compositor offers no xdg-activation or gives no answer.
//
// mutter and KWin hand the focus on with a token only where it was asked
// for from the surface that holds the keyboard focus (mutter: with the
// serial of the input that gave it); with any other they at most mark the
// window as wanting attention. wlroots (sway) trusts a token without a
// serial, but one whose serial or surface has no focus activates nothing.
// So the serial goes along only while `window` has the focus: `serial`
// where given, else the last input Qt saw.
QString RequestActivationToken(const QString& appId, QWindow* window, quint32 serial = 0);

// Tells GNOME's mutter that the program is being started, as GTK's
// launchers do (gtk_shell1.notify_launch), and returns the name of that
// start, which the running copy may activate its window with as with a
// launcher's token; mutter hands it the focus where no input came in
// between. Empty on other compositors.
QString AnnounceLaunch();

} // namespace platform::wayland
