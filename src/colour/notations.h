#pragma once

#include <cstdint>
#include <string>

// The colour as text for web pages and program source. Pure functions of the
// three channels (0..255 each).
namespace colour {

enum Notation : std::int16_t { Html = 0, VisualBasic = 1, C = 2, Dword = 3, RgbFunction = 4 };

// "#123456", "&H563412&", "0x563412", "5649426" or "RGB(18,52,86)".
std::string CopyText(int r, int g, int b, Notation notation);

} // namespace colour
