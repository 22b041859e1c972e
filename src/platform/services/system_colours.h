#pragma once

#include <cstdint>

class QPalette;

namespace platform {

inline constexpr int kSystemColourCount = 31;

// The interface colour of number `index` (0..30) as the desktop's palette
// gives it, or the classic scheme's where no palette role means the same.
// Out-of-range numbers give black.
std::uint32_t SystemColour(const QPalette& palette, int index);

} // namespace platform
