#pragma once

#include <QString>
#include <cstdint>

namespace resources {

// Identifiers the window computes from indices rather than naming them.
inline constexpr std::int16_t kWebPageString = 1000;
inline constexpr std::int16_t kRgbTooltipBase = 1020; // + radix
inline constexpr std::int16_t kModelCaptionBase = 1100; // + 10 * model (+ channel + 1)

// The program's string table. An identifier that is not in it gives an empty
// string, as a missing string resource does.
QString LoadResString(std::int16_t id);

} // namespace resources
