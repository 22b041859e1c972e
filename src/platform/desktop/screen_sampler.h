#pragma once

#include <QPoint>
#include <Qt>
#include <cstdint>

class QCursor;
class QWidget;

namespace platform {

// How a pick stands once a pass has run: going on; kept, at the colour the
// last pass showed; or ended with the colour from before to be put back.
enum class PickState { Going, Kept, Restored };

// What the release of `button` means to a pick: the left button alone keeps
// the colour, the right alone restores the one from before; the middle
// button, or one let go while another is still down, lets the pick go on.
inline PickState AfterRelease(Qt::MouseButton button, Qt::MouseButtons stillDown)
{
    if (stillDown != Qt::NoButton)
        return PickState::Going;
    if (button == Qt::LeftButton)
        return PickState::Kept;
    if (button == Qt::RightButton)
        return PickState::Restored;
    return PickState::Going;
}

// A screen pick as the desktop serves it. A pick runs passes until it ends;
// each pass asks where the pointer's hot spot is, reads the pixel there, puts
// the overlay onto it, and lets NextPass say when the next pass is due. The
// X11 desktop serves the live screen, a pass each time the pointer moves or
// the screen shows a new frame, and its overlay, which holds the pointer,
// ends the pick with its own button release. A Wayland session, which keeps
// its pixels from programs, serves the same passes from a screenshot, one per
// pointer motion, and its covers, not the overlay, see the buttons: there
// NextPass tells how the pick ended.
class ScreenSampler {
public:
    virtual ~ScreenSampler() = default;

    // Gets the pixels of one pick ready (a screenshot is taken here). False
    // where none can be had: a pick could never see the click that ends it.
    virtual bool Prepare() = 0;

    // Takes the pointer for the pick, with `cursor` shown, until End: on
    // the live screen `overlay` goes on top of everything, one device pixel
    // in size, and receives every button event; where covers take the
    // buttons instead, they go up here and the overlay stays hidden.
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
    // due or the pick has ended. Kept comes only after the pass that showed
    // the colour under the button.
    virtual PickState NextPass() = 0;
};

} // namespace platform
