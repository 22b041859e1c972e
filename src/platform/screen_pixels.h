#pragma once

#include <QPoint>
#include <cstdint>

// The pointer and single screen pixels, in device pixels of the whole
// virtual screen (every monitor). Where the desktop does not let a program
// read them (no X11), the position is (0, 0) and every pixel reads as
// 0xFFFFFFFF.
namespace platform {

bool ScreenPixelsReadable();
QPoint PointerPosition();
std::uint32_t ScreenPixel(QPoint at); // 0x00BBGGRR

} // namespace platform
