#include "platform/services/identity.h"

#include <QApplication>
#include <QIcon>

namespace platform {

void TellDesktopWhoWeAre(const QString& desktopId, const QIcon& icon)
{
    QGuiApplication::setDesktopFileName(desktopId);
    // Qt's X11 class is the application's name; the instance part stays the
    // executable's name.
    QCoreApplication::setApplicationName(desktopId);
    QApplication::setWindowIcon(icon);
}

} // namespace platform
