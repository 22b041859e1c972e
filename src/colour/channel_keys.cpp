#include "colour/channel_keys.h"

namespace colour {

namespace {

bool IsDigit(std::int16_t k)
{
    return k >= '0' && k <= '9';
}

bool IsEditingKey(std::int16_t k)
{
    return k == 8 || k == 3 || k == 22 || k == 24 || k == 26; // BS, ^C, ^V, ^X, ^Z
}

} // namespace

std::int16_t FilterRgbKey(std::int16_t keyAscii, bool hexadecimal)
{
    if (IsDigit(keyAscii) || IsEditingKey(keyAscii))
        return keyAscii;
    const bool hexLetter
        = (keyAscii >= 'A' && keyAscii <= 'F') || (keyAscii >= 'a' && keyAscii <= 'f');
    if (hexLetter)
        return hexadecimal ? static_cast<std::int16_t>(keyAscii & 0x4F) : 0;
    return 0;
}

std::int16_t FilterModelKey(std::int16_t keyAscii)
{
    return IsDigit(keyAscii) || IsEditingKey(keyAscii) ? keyAscii : 0;
}

} // namespace colour
