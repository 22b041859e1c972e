#pragma once

#include "platform/x11/display.h"

#include <QPoint>

class QCursor;

// Sends every mouse button event on the screen to one window and shows a
// cursor everywhere until the grab is released: an X11 pointer grab. Nothing
// global is changed, so a program that dies holding the grab leaves the
// user's pointer as it was (the X server drops a dead client's grab).
namespace platform::x11 {

// False where another program holds a grab for longer than half a second:
// then neither the buttons nor the pointer's moves elsewhere reach the window.
bool GrabPointer(Display* dpy, WindowId window, const QCursor& cursor);
void UngrabPointer(Display* dpy);

// Moves the pointer by `delta` pixels from where it is.
void WarpPointerBy(Display* dpy, QPoint delta);

} // namespace platform::x11
