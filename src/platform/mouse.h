#pragma once

#include <cstdint>

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
MouseArgs ToMouseArgs(const QMouseEvent& event, bool pressOrRelease);

} // namespace platform
