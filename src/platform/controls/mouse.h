#pragma once

#include <cstdint>

#include <QPoint>
#include <QSize>

class QMouseEvent;

namespace platform {

// A mouse notification as forms receive it: the button (1 left, 2 right,
// 4 middle; for moves the buttons held), the shift state (1 Shift, 2 Ctrl,
// 4 Alt) and the position in twips relative to the control.
struct MouseArgs {
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = 0;
    float y = 0;
};

enum MouseButton : std::int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// `pressOrRelease` selects the button that changed; otherwise the buttons held.
// The position is taken relative to `origin`, in the control's pixels.
MouseArgs ToMouseArgs(const QMouseEvent& event, bool pressOrRelease, QPoint origin = {});

// Whether the pointer of `args` lies on a control of this size in twips, both
// edges included: the pixel just past the last one still counts, as the
// window system reports it.
bool Inside(const MouseArgs& args, float widthTwips, float heightTwips);
// The same for a control's measured size in pixels.
bool Inside(const MouseArgs& args, QSize pixels);

} // namespace platform
