#include "colour/color_value.h"

#include "colour/rounding.h"

namespace colour {

int ChannelFromUnit(double unit)
{
    if (!(unit > 0.0)) // NaN too
        return 0;
    if (unit >= 1.0)
        return 255;
    return RoundHalfAwayFromZero(unit * 255.0);
}

} // namespace colour
