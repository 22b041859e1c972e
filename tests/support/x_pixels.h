#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

// Looks at an X display from outside, as another client: one pixel of the
// screen, and whether the pointer is free to be grabbed.
namespace x_pixels {

QColor ScreenPixel(const QString& display, QPoint at);

// Fills the bare root, where no window lies, with `colour` (Xvfb's 24-bit
// visual), as another program changing the screen would.
void PaintRoot(const QString& display, QColor colour);

// True when this client could grab the pointer (nobody else holds it); the
// grab is released again at once.
bool PointerIsFree(const QString& display);

} // namespace x_pixels
