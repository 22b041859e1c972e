#include "platform/controls/mouse.h"

#include "platform/services/units.h"

#include <QMouseEvent>

namespace platform {

namespace {

std::int16_t ButtonBits(Qt::MouseButtons buttons)
{
    std::int16_t bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= kLeftButton;
    if (buttons & Qt::RightButton)
        bits |= kRightButton;
    if (buttons & Qt::MiddleButton)
        bits |= kMiddleButton;
    return bits;
}

} // namespace

MouseArgs ToMouseArgs(const QMouseEvent& event, bool pressOrRelease, QPoint origin)
{
    MouseArgs args;
    args.button = ButtonBits(pressOrRelease ? Qt::MouseButtons(event.button()) : event.buttons());
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ShiftModifier)
        args.shift |= 1;
    if (mods & Qt::ControlModifier)
        args.shift |= 2;
    if (mods & Qt::AltModifier)
        args.shift |= 4;
    const QPointF at = event.position() - QPointF(origin);
    args.x = static_cast<float>(at.x() * TwipsPerPixelX());
    args.y = static_cast<float>(at.y() * TwipsPerPixelY());
    return args;
}

bool Inside(const MouseArgs& args, float widthTwips, float heightTwips)
{
    return args.x >= 0 && args.x <= widthTwips && args.y >= 0 && args.y <= heightTwips;
}

bool Inside(const MouseArgs& args, QSize pixels)
{
    return Inside(args, static_cast<float>(pixels.width()) * TwipsPerPixelX(),
        static_cast<float>(pixels.height()) * TwipsPerPixelY());
}

} // namespace platform
