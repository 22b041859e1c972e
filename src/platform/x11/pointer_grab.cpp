#include "platform/x11/pointer_grab.h"

#include <QBitmap>
#include <QCursor>
#include <QImage>

#include <X11/Xlib.h>

#include <ctime>

namespace platform::x11 {

namespace {

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

bool GrabPointer(Display* dpy, WindowId window, const QCursor& cursor)
{
    const ::Cursor x11Cursor = ToX11Cursor(dpy, cursor);
    // Not owner_events: every button event is reported to the window,
    // wherever it happens, which is what ends the pick. The program that
    // ran the command (a launcher's menu, a window manager's binding) may
    // hold the pointer a moment longer, so a refused grab is asked again
    // for a while. Failing that, the pick runs without it; a click on the
    // window still ends it.
    constexpr int kTries = 50;
    constexpr timespec kBetweenTries{0, 10'000'000};
    int result = AlreadyGrabbed;
    for (int i = 0; i < kTries && result != GrabSuccess; ++i) {
        if (i > 0)
            nanosleep(&kBetweenTries, nullptr);
        result = XGrabPointer(dpy, window, False,
            ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
            None, x11Cursor, CurrentTime);
    }
    if (x11Cursor != None)
        XFreeCursor(dpy, x11Cursor); // the grab keeps its own reference
    XFlush(dpy);
    return result == GrabSuccess;
}

void UngrabPointer(Display* dpy)
{
    XUngrabPointer(dpy, CurrentTime);
    XFlush(dpy);
}

void WarpPointerBy(Display* dpy, QPoint delta)
{
    XWarpPointer(dpy, None, None, 0, 0, 0, 0, delta.x(), delta.y());
    XFlush(dpy);
}

} // namespace platform::x11
