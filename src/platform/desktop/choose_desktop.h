#pragma once

#include <QString>

namespace platform {

// The backends, one per way a program can reach a desktop.
enum class Backend {
    Qt, // anything Qt serves alone: offscreen, a framebuffer
    X11, // an X server of its own
    Xwayland, // an X client of a Wayland session's Xwayland
    Wayland, // a native Wayland client
};

// The backend for a Qt platform name ("xcb", "wayland", "offscreen", ...)
// in a session that is a Wayland one or not.
Backend BackendFor(const QString& qtPlatform, bool waylandSession);

} // namespace platform
