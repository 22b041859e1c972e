#pragma once

#include <array>
#include <cstdint>
#include <optional>

class QPalette;

namespace platform {

class KdeGlobals;

inline constexpr int kSystemColourCount = 31;

// What the desktop itself says an interface colour is, where Qt's palette
// cannot tell: by colour number, packed 0x00BBGGRR, or nothing.
using DesktopSays = std::array<std::optional<std::uint32_t>, kSystemColourCount>;

// The interface colour of number `index` (0..30): what the desktop says,
// else the palette's where a Qt role means the same, else the classic
// scheme's. Out-of-range numbers give black.
std::uint32_t SystemColour(const QPalette& palette, const DesktopSays& desktop, int index);

// What a KDE colour scheme says: the title bars as KWin draws them, and the
// scheme's window, view, button, selection and tooltip colours.
DesktopSays FromKdeGlobals(const KdeGlobals& kde);

// The desktop portal's org.freedesktop.appearance settings, each as far as
// it answered: colour-scheme (1 prefers dark; 0 and anything else light)
// and the accent as sRGB 0..1, out-of-range meaning none.
struct Appearance {
    std::optional<std::uint32_t> colorScheme;
    std::optional<std::array<double, 3>> accent;
};

// What GNOME says: its title bars in the scheme the portal names, and the
// accent as the selection.
DesktopSays FromAppearance(const Appearance& appearance);

} // namespace platform
