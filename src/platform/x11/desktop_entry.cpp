#include "platform/x11/desktop_entry.h"

#include "platform/x11/display.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

bool DesktopEntryNamer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::PlatformSurface
        || static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType()
            != QPlatformSurfaceEvent::SurfaceCreated)
        return false;
    auto* window = qobject_cast<QWindow*>(watched);
    Display* dpy = TheDisplay();
    const QByteArray entry = QGuiApplication::desktopFileName().toUtf8();
    if (!window || !window->isTopLevel() || !dpy || entry.isEmpty())
        return false;
    const auto id = static_cast<WindowId>(window->winId());
    const Atom text = XInternAtom(dpy, "UTF8_STRING", False);
    for (const char* name : {"_KDE_NET_WM_DESKTOP_FILE", "_GTK_APPLICATION_ID"}) {
        XChangeProperty(dpy, id, XInternAtom(dpy, name, False), text, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(entry.constData()),
            static_cast<int>(entry.size()));
    }
    return false;
}

} // namespace platform::x11
