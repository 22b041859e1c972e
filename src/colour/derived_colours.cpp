#include "colour/derived_colours.h"

#include "colour/conversions.h"

namespace colour {

Rgb Invert(int r, int g, int b)
{
    return {r ^ 0xFF, g ^ 0xFF, b ^ 0xFF};
}

Rgb Complement(int r, int g, int b)
{
    int hi = r > g ? r : g;
    int lo = r > g ? g : r;
    if (b > hi)
        hi = b;
    if (b < lo)
        lo = b;
    return {hi + lo - r, hi + lo - g, hi + lo - b};
}

bool BlackTextReadable(int r, int g, int b)
{
    const double y = kLumaGreen * g + kLumaRed * r + kLumaBlue * b;
    return y > 128.0;
}

} // namespace colour
