#pragma once

#include <cstdint>
#include <string>

// The colour as text for web pages and program source, and the two colours
// derived from it. Pure functions of the three channels (0..255 each).
namespace colour {

enum Notation : std::int16_t { Html = 0, VisualBasic = 1, C = 2, Dword = 3, RgbFunction = 4 };

// "#123456", "&H563412&", "0x563412", "5649426" or "RGB(18,52,86)".
std::string CopyText(int r, int g, int b, Notation notation);

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Each channel c becomes 255 - c.
Rgb Invert(int r, int g, int b);

// Keeps the largest and smallest channel and mirrors every channel between
// them: hi + lo - c. Applied twice it gives the colour back.
Rgb Complement(int r, int g, int b);

} // namespace colour

namespace colour {

// Whether black text reads better than white on this colour: its luminance
// 0.58661 G + 0.29891 R + 0.11448 B (in that order) is above 128.
bool BlackTextReadable(int r, int g, int b);

} // namespace colour
