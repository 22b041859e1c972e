#pragma once

namespace platform {
class Desktop;
}

namespace platform::wayland {

// The desktop of a Wayland compositor, for a native window: no program may
// read the screen or learn where its window is, and the running copy is
// reached through its session's lock rather than a window list.
Desktop& TheWaylandDesktop();

} // namespace platform::wayland
