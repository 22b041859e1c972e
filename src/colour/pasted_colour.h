#pragma once

#include "colour/color_value.h"

#include <optional>
#include <string_view>

namespace colour {

// The colour a pasted text names whole: the program's own five notations
// ("#1e90ff", "&HFF901E&", "0xff901e", "16748574", "RGB(30,144,255)") and
// CSS's ("#1e9", "rgb(30, 144, 255)", "rgb(30 144 255)", "hsl(210, 100%,
// 56%)"), in either case, with blanks around. Nothing for any other text,
// and for a colour with a channel out of range: a half-right colour would
// silently become another one.
//
// A plain number of up to three digits is a channel's value, as typed into
// a box, not a packed colour: "128" in the green box means green 128.
std::optional<Rgb> ReadColourText(std::string_view text);

} // namespace colour
