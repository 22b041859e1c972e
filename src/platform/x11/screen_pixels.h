#pragma once

#include "platform/x11/display.h"

#include <QPoint>
#include <cstdint>

// The pointer and single screen pixels, in device pixels of the whole
// virtual screen (every monitor), read off the root window.
namespace platform::x11 {

QPoint PointerPosition(Display* dpy);
std::uint32_t ScreenPixel(Display* dpy, QPoint at); // 0x00BBGGRR; 0xFFFFFFFF off the screen

} // namespace platform::x11
