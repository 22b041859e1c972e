#include "platform/pointer_capture.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>

namespace platform {

namespace {

Display* X11Display()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

Pixmap ToX11Bitmap(Display* dpy, const QBitmap& bitmap)
{
    // XBM data: one bit per pixel, least significant bit first, rows padded
    // to bytes, which is Qt's MonoLSB without the 32-bit row alignment.
    const QImage image = bitmap.toImage().convertToFormat(QImage::Format_MonoLSB);
    const int bytesPerRow = (image.width() + 7) / 8;
    QByteArray data;
    for (int y = 0; y < image.height(); ++y)
        data.append(reinterpret_cast<const char*>(image.constScanLine(y)), bytesPerRow);
    return XCreateBitmapFromData(dpy, DefaultRootWindow(dpy), data.constData(),
        static_cast<unsigned>(image.width()), static_cast<unsigned>(image.height()));
}

::Cursor ToX11Cursor(Display* dpy, const QCursor& cursor)
{
    const QBitmap ink = cursor.bitmap();
    const QBitmap mask = cursor.mask();
    if (ink.isNull() || mask.isNull())
        return None;
    // Qt draws bitmap bits in black and clears in white; X draws source
    // bits in the foreground colour.
    const Pixmap source = ToX11Bitmap(dpy, ink);
    const Pixmap shape = ToX11Bitmap(dpy, mask);
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    const ::Cursor x11Cursor = XCreatePixmapCursor(dpy, source, shape, &black, &white,
        static_cast<unsigned>(cursor.hotSpot().x()), static_cast<unsigned>(cursor.hotSpot().y()));
    XFreePixmap(dpy, source);
    XFreePixmap(dpy, shape);
    return x11Cursor;
}

} // namespace

void CapturePointer(QWidget* window, const QCursor& cursor)
{
    Display* dpy = X11Display();
    if (!dpy || !window->windowHandle()) {
        window->grabMouse(cursor);
        return;
    }
    const ::Cursor x11Cursor = ToX11Cursor(dpy, cursor);
    // Not owner_events: every button event is reported to the overlay,
    // wherever it happens, which is what ends the pick. Failure (another
    // program holds a grab) is ignored; a click on the overlay still ends it.
    XGrabPointer(dpy, static_cast<Window>(window->winId()), False,
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
        x11Cursor, CurrentTime);
    if (x11Cursor != None)
        XFreeCursor(dpy, x11Cursor); // the grab keeps its own reference
    XFlush(dpy);
}

void ReleasePointer(QWidget* window)
{
    Display* dpy = X11Display();
    if (!dpy) {
        window->releaseMouse();
        return;
    }
    XUngrabPointer(dpy, CurrentTime);
    XFlush(dpy);
}

} // namespace platform
