#include "colour/notations.h"

#include "colour/channel_text.h"
#include "colour/color_value.h"

#include <algorithm>
#include <cctype>

namespace colour {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Upper-case hexadecimal without leading zeros, one digit at least.
std::string ShortHex(std::int32_t value)
{
    std::string digits = ToHex(value, 8);
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

} // namespace

std::string CopyText(int r, int g, int b, Notation notation)
{
    // The window system's packing: red in the low byte. HTML reads the other
    // way round, red first, which is the packing of the channels reversed.
    const auto packed = static_cast<std::int32_t>(Pack({r, g, b}));
    const auto reversed = static_cast<std::int32_t>(Pack({b, g, r}));
    // Appended piece by piece: GCC 12 warns falsely about "literal" + string.
    std::string text;
    switch (notation) {
    case Html: text.append("#").append(Lower(ToHex(reversed, 6))); break;
    case VisualBasic: text.append("&H").append(ShortHex(packed)).append("&"); break;
    case C: text.append("0x").append(Lower(ToHex(packed, 6))); break;
    case Dword: text = ToDecimal(packed); break;
    case RgbFunction:
        text.append("RGB(").append(ToDecimal(r)).append(",").append(ToDecimal(g)).append(",");
        text.append(ToDecimal(b)).append(")");
        break;
    }
    return text;
}

} // namespace colour
