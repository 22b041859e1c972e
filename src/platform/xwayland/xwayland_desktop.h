#pragma once

namespace platform {
class Desktop;
}

namespace platform::xwayland {

// The desktop of an X client of a Wayland session's Xwayland: the pick runs
// over a screenshot, as it does natively, and the running copy is reached
// through the session's lock as well as by its window title. nullptr where
// Qt does not run on an X display.
Desktop* TheXwaylandDesktop();

} // namespace platform::xwayland
