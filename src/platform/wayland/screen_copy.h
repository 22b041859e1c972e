#pragma once

#include <QImage>

#include <optional>

namespace platform::wayland {

// The whole desktop in one image, as the desktop portal's screenshot lays
// it out: every output at its place in the layout, at the largest output
// scale (outputs of a lower scale repeat their pixels), taken through the
// compositor's screen copy (wlroots' zwlr_screencopy_manager_v1) into
// shared memory, without the pointer. Talks to the compositor of
// WAYLAND_DISPLAY on a connection of its own, so an X client of Xwayland
// gets it too, and gives up within about two seconds whatever the
// compositor does. Nothing where the compositor offers no screen copy, a
// copy fails, an output comes or goes meanwhile, or a buffer is not the
// size its output asks for: the portal is the way then.
std::optional<QImage> CopyScreens();

} // namespace platform::wayland
