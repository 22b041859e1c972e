#pragma once

#include <cstdint>

// Which typed characters the channel boxes take. A discarded character comes
// back as 0 and is dropped silently; the editing keys (Backspace and Ctrl+C,
// V, X, Z) pass so that the boxes stay editable.
namespace colour {

// Digits; hexadecimal letters only in hexadecimal radix, upper-cased.
std::int16_t FilterRgbKey(std::int16_t keyAscii, bool hexadecimal);

// Digits only, in every model and radix.
std::int16_t FilterModelKey(std::int16_t keyAscii);

} // namespace colour
