#include "platform/x11/frame_extents.h"

#include "platform/x11/display.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

namespace {

// A window manager that offers the request answers it within a few of its
// own round trips.
constexpr int kAnswerWaitMs = 200;

bool Supported(Display* dpy, Atom wanted)
{
    const Atom supported = XInternAtom(dpy, "_NET_SUPPORTED", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), supported, 0, 4096, False, XA_ATOM, &type,
            &format, &count, &after, &data)
            != Success
        || !data)
        return false;
    bool found = false;
    if (format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = atoms[i] == wanted;
    }
    XFree(data);
    return found;
}

std::optional<QMargins> Extents(Display* dpy, WindowId window, Atom extents)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(
            dpy, window, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after, &data)
            != Success
        || !data)
        return std::nullopt;
    std::optional<QMargins> margins;
    if (format == 32 && count == 4) {
        // Left, right, top, bottom; Xlib hands 32-bit items out as longs.
        const auto* sides = reinterpret_cast<const long*>(data);
        margins = QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
    }
    XFree(data);
    return margins;
}

} // namespace

QMargins FrameBeforeShow(QWidget* window)
{
    Display* dpy = TheDisplay();
    if (!dpy || !window || window->isVisible())
        return {};
    const Atom request = XInternAtom(dpy, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Atom extents = XInternAtom(dpy, "_NET_FRAME_EXTENTS", False);
    if (!Supported(dpy, request))
        return {};
    // The window exists unmapped from here on; Qt maps it at the show.
    const auto id = static_cast<WindowId>(window->winId());
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = request;
    event.xclient.format = 32;
    XSendEvent(dpy, DefaultRootWindow(dpy), False,
        SubstructureNotifyMask | SubstructureRedirectMask, &event);
    XFlush(dpy);
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(kAnswerWaitMs)) {
        if (const std::optional<QMargins> margins = Extents(dpy, id, extents))
            return *margins;
        QThread::msleep(2);
    }
    return {};
}

} // namespace platform::x11
