#include "platform/desktop/desktop.h"

#include "platform/desktop/qt_desktop.h"
#include "platform/wayland/wayland_desktop.h"
#include "platform/x11/x11_desktop.h"

#include <QGuiApplication>

namespace platform {

namespace {

Desktop* installed = nullptr;

Desktop& Chosen()
{
    static QtDesktop qtAlone;
    static Desktop* const chosen = []() -> Desktop* {
        switch (BackendFor(QGuiApplication::platformName())) {
        case Backend::X11:
            if (Desktop* x11 = x11::TheX11Desktop())
                return x11;
            break;
        case Backend::Wayland: return &wayland::TheWaylandDesktop();
        case Backend::Qt: break;
        }
        return &qtAlone;
    }();
    return *chosen;
}

} // namespace

Backend BackendFor(const QString& qtPlatform)
{
    if (qtPlatform == QLatin1String("xcb"))
        return Backend::X11;
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
