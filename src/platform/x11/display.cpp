#include "platform/x11/display.h"

#include <QGuiApplication>
#include <QString>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>

namespace platform::x11 {

Display* TheDisplay()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

Display* OpenDisplayLike(Display* dpy)
{
    return XOpenDisplay(DisplayString(dpy));
}

void CloseDisplay(Display* dpy)
{
    XCloseDisplay(dpy);
}

QString DisplayName(Display* dpy)
{
    return QString::fromLocal8Bit(DisplayString(dpy));
}

} // namespace platform::x11
