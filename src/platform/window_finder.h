#pragma once

#include <QString>
#include <QtGui/qwindowdefs.h>

// Finding and raising another program's window. On a desktop without X11
// there is nothing to find: the lookups give 0 and the actions do nothing.
namespace platform {

// The top-level window whose title is exactly `title`, or 0.
WId FindWindow(const QString& title);

// The most recently active window that `owner` owns (a dialog over it), or
// `owner` itself when it owns none.
WId GetLastActivePopup(WId owner);

// Brings the window to the front and gives it the input focus.
void SetForegroundWindow(WId window);

// Restores the window from the minimised state.
void ShowWindowRestore(WId window);

} // namespace platform
