#include "platform/x11/screen_pixels.h"

#include "colour/color_value.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::x11 {

namespace {

// A channel of a pixel value scaled to 0..255, from its visual's mask: the
// shifts of the server's pixel format, whatever its depth.
int Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    const unsigned long value = (pixel >> shift) & mask;
    return static_cast<int>(value * 255 / mask);
}

} // namespace

QPoint PointerPosition(Display* dpy)
{
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
}

std::uint32_t ScreenPixel(Display* dpy, QPoint at)
{
    constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
    // One round trip: a pick reads a pixel every frame. The root's visual is
    // the screen's default, known without asking; its size is not asked for
    // either: a read off the root (a screen that shrank since the pointer
    // was read) is an error that Qt's Xlib error handler ignores, and no
    // image comes back.
    if (at.x() < 0 || at.y() < 0)
        return kInvalid;
    XImage* image
        = XGetImage(dpy, DefaultRootWindow(dpy), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return kInvalid;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const Visual* visual = DefaultVisual(dpy, DefaultScreen(dpy));
    const colour::Rgb rgb{Channel(pixel, visual->red_mask), Channel(pixel, visual->green_mask),
        Channel(pixel, visual->blue_mask)};
    return colour::Pack(rgb);
}

} // namespace platform::x11
