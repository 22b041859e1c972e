#pragma once

namespace platform {

// Whether the desktop is a Wayland session, whichever way Qt reaches it:
// natively, or as an X client of Xwayland, where X11 alone would promise a
// screen and a window list that the session does not give out.
bool InWaylandSession();

} // namespace platform
