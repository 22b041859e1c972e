#include "x_pixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace x_pixels {

namespace {

struct Connection {
    explicit Connection(const QString& display)
        : dpy(XOpenDisplay(display.toLocal8Bit().constData()))
    { }
    ~Connection()
    {
        if (dpy)
            XCloseDisplay(dpy);
    }
    Display* dpy;
};

} // namespace

QColor ScreenPixel(const QString& display, QPoint at)
{
    Connection x(display);
    if (!x.dpy)
        return {};
    XImage* image
        = XGetImage(x.dpy, DefaultRootWindow(x.dpy), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return {};
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    // Xvfb's 24-bit TrueColor visual: 0x00RRGGBB.
    return QColor(int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF));
}

void PaintRoot(const QString& display, QColor colour)
{
    Connection x(display);
    if (!x.dpy)
        return;
    const Window root = DefaultRootWindow(x.dpy);
    XSetWindowBackground(x.dpy, root, colour.rgb() & 0xFFFFFF);
    XClearWindow(x.dpy, root);
    XSync(x.dpy, False);
}

bool PointerIsFree(const QString& display)
{
    Connection x(display);
    if (!x.dpy)
        return false;
    const int result = XGrabPointer(x.dpy, DefaultRootWindow(x.dpy), False, ButtonPressMask,
        GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    XUngrabPointer(x.dpy, CurrentTime);
    XSync(x.dpy, False);
    return result == GrabSuccess;
}

PointerHold::PointerHold(const QString& display)
    : dpy_(XOpenDisplay(display.toLocal8Bit().constData()))
{
    if (!dpy_)
        return;
    held_ = XGrabPointer(dpy_, DefaultRootWindow(dpy_), False, ButtonPressMask, GrabModeAsync,
                GrabModeAsync, None, None, CurrentTime)
        == GrabSuccess;
    XSync(dpy_, False);
}

PointerHold::~PointerHold()
{
    if (dpy_)
        XCloseDisplay(dpy_); // the server drops the grab with the client
}

} // namespace x_pixels
