#pragma once

namespace platform {
class Desktop;
}

namespace platform::x11 {

// The desktop of an X server: the live screen is read and the pointer
// grabbed for the pick, and the running copy is found by its window title.
// nullptr where Qt does not run on an X display.
Desktop* TheX11Desktop();

} // namespace platform::x11
