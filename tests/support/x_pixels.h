#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

// Looks at an X display from outside, as another client: one pixel of the
// screen, and whether the pointer is free to be grabbed.
namespace x_pixels {

QColor ScreenPixel(const QString& display, QPoint at);

// True when this client could grab the pointer (nobody else holds it); the
// grab is released again at once.
bool PointerIsFree(const QString& display);

} // namespace x_pixels
