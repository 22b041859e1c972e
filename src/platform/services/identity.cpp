#include "platform/services/identity.h"

#include <QGuiApplication>

namespace platform {

void TellDesktopWhoWeAre(const QString& desktopId)
{
    QGuiApplication::setDesktopFileName(desktopId);
    // Qt's X11 class is the application's name; the instance part stays the
    // executable's name.
    QCoreApplication::setApplicationName(desktopId);
}

} // namespace platform
