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
// anything else. Every X11 call of the program goes through this one, but
// the pick's reads.
Display* TheDisplay();

// A connection of our own to the display of `dpy`, nullptr where none can be
// opened; CloseDisplay ends it. A round trip on Qt's connection also wakes
// Qt's event thread, twice; the pick, which reads the screen every frame,
// makes its reads here.
Display* OpenDisplayLike(Display* dpy);
void CloseDisplay(Display* dpy);

// The name the display was opened by (":0"), which tells the copies of the
// program that are rivals.
QString DisplayName(Display* dpy);

} // namespace platform::x11
