#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Channel values as text: the RGB boxes in decimal or hexadecimal, the model
// boxes always decimal. Parsers return nullopt for text that is not a number
// under their rules; they never guess.
namespace colour {

// Upper-case hexadecimal of the value (a negative value as its 32-bit two's
// complement), padded with "0" or cut on the left to exactly `digits` chars.
std::string ToHex(std::int32_t value, std::int16_t digits);

// Empty text reads as 0. Otherwise up to eight hexadecimal digits of either
// case; eight digits with the top bit set give the negative two's complement.
std::optional<std::int32_t> FromHex(std::string_view text);

std::string ToDecimal(std::int32_t value);

// Blanks around the number are ignored, an optional "+" or "-" may lead, then
// one or more digits. Values beyond 32 bits are not a number.
std::optional<std::int32_t> FromDecimal(std::string_view text);

} // namespace colour
