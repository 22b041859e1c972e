#include "platform/desktop/choose_desktop.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/qt_desktop.h"
#include "platform/wayland/wayland_desktop.h"
#include "platform/x11/x11_desktop.h"
#include "platform/xwayland/xwayland_desktop.h"

#include <QByteArray>
#include <QGuiApplication>

namespace platform {

namespace {

// Asked here alone: an X client cannot tell from X11 that the screen and the
// window list it sees are only Xwayland's, which a Wayland session keeps
// from programs.
bool InWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

Desktop* installed = nullptr;

Desktop& Chosen()
{
    static QtDesktop qtAlone;
    static Desktop* const chosen = []() -> Desktop* {
        Desktop* desktop = nullptr;
        switch (BackendFor(QGuiApplication::platformName(), InWaylandSession())) {
        case Backend::X11: desktop = x11::TheX11Desktop(); break;
        case Backend::Xwayland: desktop = xwayland::TheXwaylandDesktop(); break;
        case Backend::Wayland: desktop = &wayland::TheWaylandDesktop(); break;
        case Backend::Qt: break;
        }
        return desktop ? desktop : &qtAlone; // an X backend without its display
    }();
    return *chosen;
}

} // namespace

Backend BackendFor(const QString& qtPlatform, bool waylandSession)
{
    if (qtPlatform == QLatin1String("xcb"))
        return waylandSession ? Backend::Xwayland : Backend::X11;
    if (qtPlatform.startsWith(QLatin1String("wayland"))) // "wayland", "wayland-egl"
        return Backend::Wayland;
    return Backend::Qt;
}

Desktop& TheDesktop()
{
    return installed ? *installed : Chosen();
}

void InstallDesktop(Desktop* desktop)
{
    installed = desktop;
}

} // namespace platform
