#pragma once

#include <cstdint>

// The colour packed into one integer as the window system hands it out and
// takes it: R + 256 G + 65536 B, laid out 0x00BBGGRR (red in the low byte).
// Swatches, system colours, screen pixels, the preview and the notations all
// speak it; this is the one place that packs and unpacks.
namespace colour {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Channels 0..255 each.
constexpr std::uint32_t Pack(Rgb c)
{
    return static_cast<std::uint32_t>(c.r) | static_cast<std::uint32_t>(c.g) << 8
        | static_cast<std::uint32_t>(c.b) << 16;
}

// The top byte is not a channel: a failed pixel read (all bits set) gives
// white.
constexpr Rgb Unpack(std::uint32_t colorValue)
{
    return {static_cast<int>(colorValue & 0xFF), static_cast<int>(colorValue >> 8 & 0xFF),
        static_cast<int>(colorValue >> 16 & 0xFF)};
}

// A channel given as a fraction from 0 to 1, as colour pickers of the desktop
// answer, to the nearest of 0..255: truncating would darken every channel
// that is not an exact multiple of 1/255 by one. Outside 0..1 clamps.
int ChannelFromUnit(double unit);

} // namespace colour
