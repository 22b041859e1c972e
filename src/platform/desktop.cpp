#include "platform/desktop.h"

#include "platform/qt_desktop.h"
#include "platform/x11/x11_desktop.h"

#include <QGuiApplication>

namespace platform {

namespace {

Desktop* installed = nullptr;

Desktop& Chosen()
{
    static QtDesktop qtAlone;
    static Desktop* const chosen = []() -> Desktop* {
        if (BackendFor(QGuiApplication::platformName()) == Backend::X11) {
            if (Desktop* x11 = x11::TheX11Desktop())
                return x11;
        }
        return &qtAlone;
    }();
    return *chosen;
}

} // namespace

Backend BackendFor(const QString& qtPlatform)
{
    return qtPlatform == QLatin1String("xcb") ? Backend::X11 : Backend::Qt;
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
