#pragma once

#include <cmath>

// The ways a real becomes an integer. They differ on exact halves and below
// zero, so every step that makes an integer names the rule it needs; a bare
// cast or std::round would leave the reader to guess which was meant.
namespace colour {

// Halves to the even neighbour (2.5 gives 2): std::nearbyint under the default
// rounding mode, which nothing in the program changes.
inline int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Halves upwards, also below zero (-2.5 gives -2): floor(x + 0.5).
inline int RoundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

// Towards minus infinity, not towards zero (-0.5 gives -1).
inline int Floor(double value)
{
    return static_cast<int>(std::floor(value));
}

// Halves away from zero (2.5 gives 3, -2.5 gives -3): std::lround.
inline int RoundHalfAwayFromZero(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace colour
