#include "platform/desktop/session_key.h"

#include <QDir>

#include <unistd.h>

namespace platform {

QString SessionKey(const QString& xDisplay)
{
    const QString user = QString::number(::getuid());
    QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (wayland.isEmpty())
        return QStringLiteral("x11%1-%2").arg(xDisplay, user);
    // A bare socket name lies in the runtime folder: "wayland-0" and its full
    // path are the same display.
    if (!QDir::isAbsolutePath(wayland))
        wayland = qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + wayland;
    return QStringLiteral("wayland%1-%2").arg(QDir::cleanPath(wayland), user);
}

} // namespace platform
