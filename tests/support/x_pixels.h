#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

struct _XDisplay;

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

// Holds the pointer grabbed, as a launcher's menu does while it closes,
// until the object goes.
class PointerHold {
public:
    explicit PointerHold(const QString& display);
    ~PointerHold();
    PointerHold(const PointerHold&) = delete;
    PointerHold& operator=(const PointerHold&) = delete;
    bool Held() const { return held_; }

private:
    ::_XDisplay* dpy_;
    bool held_ = false;
};

} // namespace x_pixels
