#pragma once

#include "colour/color_value.h"

// The colours the Edit menu derives from the current one, and the text
// colour that stays readable on it. Channels 0..255 each.
namespace colour {

// Each channel c becomes 255 - c.
Rgb Invert(int r, int g, int b);

// Keeps the largest and smallest channel and mirrors every channel between
// them: hi + lo - c. Applied twice it gives the colour back.
Rgb Complement(int r, int g, int b);

// Whether black text reads better than white on this colour: its luminance
// 0.58661 G + 0.29891 R + 0.11448 B (in that order) is above 128.
bool BlackTextReadable(int r, int g, int b);

} // namespace colour
