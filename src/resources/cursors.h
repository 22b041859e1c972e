#pragma once

#include <QCursor>

namespace resources {

inline constexpr int kEyedropperCursor = 1; // tip at the lower left, hot spot 4, 26
inline constexpr int kHandCursor = 2; // index finger tip, hot spot 10, 10

// A fresh cursor each call, built from the 32 x 32 monochrome drawings.
QCursor LoadResCursor(int id);

} // namespace resources
