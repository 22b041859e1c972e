#include "platform/desktop/session_type.h"

#include <QByteArray>

namespace platform {

bool InWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

} // namespace platform
