#pragma once

#include <QString>

namespace platform::wayland {

// A new activation token from the compositor, asked for on a connection of
// its own, with no seat or surface behind it; empty where the compositor
// offers no xdg-activation. A window activated with it takes the focus where
// the compositor trusts such tokens (sway does), and is marked urgent where
// it does not.
QString RequestActivationToken(const QString& appId);

} // namespace platform::wayland
