#include "platform/controls/qt_color.h"

#include "colour/color_value.h"

namespace platform {

QColor ToQColor(std::uint32_t colorValue)
{
    const colour::Rgb c = colour::Unpack(colorValue);
    return QColor(c.r, c.g, c.b);
}

std::uint32_t ToColorValue(const QColor& colour)
{
    return colour::Pack({colour.red(), colour.green(), colour.blue()});
}

} // namespace platform
