#pragma once

#include <QPoint>
#include <cstdint>

class QCursor;
class QWidget;

namespace platform {

// A screen pick as the desktop serves it. A pick runs passes until its
// overlay reports the button that ended it; each pass asks where the
// pointer's hot spot is, reads the pixel there, puts the overlay onto it, and
// lets NextPass say when the next pass is due. The X11 desktop serves the
// live screen and polls without pause; a Wayland session, which keeps its
// pixels from programs, serves the same passes from a screenshot, one per
// pointer motion, without the pick knowing which.
class ScreenSampler {
public:
    virtual ~ScreenSampler() = default;

    // Gets the pixels of one pick ready (a screenshot is taken here). False
    // where none can be had: a pick could never see the click that ends it.
    virtual bool Prepare() = 0;

    // Shows `overlay` on top of everything, one device pixel in size, and
    // sends it every mouse button event, with `cursor` shown, until End.
    virtual void Begin(QWidget* overlay, const QCursor& cursor) = 0;
    virtual void End(QWidget* overlay) = 0;

    // The hot spot, in device pixels of the whole virtual screen (every
    // monitor), and the colour of one such pixel, 0x00BBGGRR: 0xFFFFFFFF
    // where none can be read.
    virtual QPoint HotSpot() = 0;
    virtual std::uint32_t Pixel(QPoint at) = 0;

    // Puts the overlay onto pixel `at`, painted `colour`.
    virtual void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) = 0;

    // Runs the window events that came in since the last pass, a button
    // release on the overlay among them, and returns when the next pass is
    // due.
    virtual void NextPass() = 0;
};

} // namespace platform
