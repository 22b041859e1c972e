#pragma once

#include <QColor>
#include <cstdint>

// Packed colour values (0x00BBGGRR) and Qt's colours.
namespace platform {

QColor ToQColor(std::uint32_t colorValue); // the top byte is not a channel
std::uint32_t ToColorValue(const QColor& colour);

} // namespace platform
