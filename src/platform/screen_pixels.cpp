#include "platform/screen_pixels.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

namespace {

Display* X11Display()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The position of a channel in a pixel value, from its visual's mask.
std::uint32_t Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    const unsigned long value = (pixel >> shift) & mask;
    return static_cast<std::uint32_t>(value * 255 / mask);
}

} // namespace

bool ScreenPixelsReadable()
{
    return X11Display() != nullptr;
}

QPoint PointerPosition()
{
    Display* dpy = X11Display();
    if (!dpy)
        return {};
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
}

std::uint32_t ScreenPixel(QPoint at)
{
    constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
    Display* dpy = X11Display();
    if (!dpy)
        return kInvalid;
    const Window root = DefaultRootWindow(dpy);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(dpy, root, &attributes) || at.x() < 0 || at.y() < 0
        || at.x() >= attributes.width || at.y() >= attributes.height)
        return kInvalid;
    XImage* image = XGetImage(dpy, root, at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return kInvalid;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const Visual* visual = attributes.visual;
    const std::uint32_t colour = Channel(pixel, visual->red_mask)
        | Channel(pixel, visual->green_mask) << 8 | Channel(pixel, visual->blue_mask) << 16;
    XDestroyImage(image);
    return colour;
}

} // namespace platform
