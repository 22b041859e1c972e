#pragma once

#include "platform/x11/display.h"

#include <QString>

// Finding and raising another program's window.
namespace platform::x11 {

// The top-level window whose title is exactly `title`, or 0.
WindowId FindWindow(Display* dpy, const QString& title);

// The most recently active window that `owner` owns (a dialog over it), or
// `owner` itself when it owns none.
WindowId GetLastActivePopup(Display* dpy, WindowId owner);

// Brings the window to the front and gives it the input focus.
void SetForegroundWindow(Display* dpy, WindowId window);

// Restores the window from the minimised state.
void ShowWindowRestore(Display* dpy, WindowId window);

// Brings the window titled `title` to the front, restored from the
// minimised state: the pop-up it showed last if there is one, since a user
// facing a main window that does not respond would not know why.
void BringForward(Display* dpy, const QString& title);

} // namespace platform::x11
