#include "platform/services/screen.h"

#include "platform/services/units.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

int ScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ScreenPixelsToTwipsX(screen->geometry().width()) : 0;
}

int ScreenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ScreenPixelsToTwipsY(screen->geometry().height()) : 0;
}

} // namespace platform
