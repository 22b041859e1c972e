#pragma once

// Xlib's display type, declared here rather than by including Xlib: its
// macros (None, KeyPress, FocusIn, ...) break Qt headers included after it.
// Sources include Qt first and Xlib last.
typedef struct _XDisplay Display;

class QString;

namespace platform::x11 {

// An X window id (Xlib's Window).
using WindowId = unsigned long;

// The X display Qt's xcb platform talks to, or nullptr where Qt runs on
// anything else. Every X11 call of the program goes through this one.
Display* TheDisplay();

// The name the display was opened by (":0"), which tells the copies of the
// program that are rivals.
QString DisplayName(Display* dpy);

} // namespace platform::x11
