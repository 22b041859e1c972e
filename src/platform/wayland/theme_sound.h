#pragma once

namespace platform::wayland {

// Plays the desktop's sound-theme event `eventId` ("dialog-information")
// through libcanberra, loaded at the first call; false where the library,
// the theme or a sound device is missing. Nothing waits for the sound.
bool PlayThemeSound(const char* eventId);

} // namespace platform::wayland
