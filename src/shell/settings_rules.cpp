#include "shell/settings_rules.h"

#include "shell/color_api.h"

#include <limits>

namespace shell {

std::int16_t InRange(const ColorSetting& setting, std::int32_t stored)
{
    return stored >= setting.min && stored <= setting.max ? static_cast<std::int16_t>(stored)
                                                          : setting.defaultValue;
}

bool UsablePosition(std::int32_t twips, float twipsPerPixel)
{
    // A factor of zero or NaN (no sane screen) makes every comparison false.
    const double pixels = twips / static_cast<double>(twipsPerPixel);
    return pixels >= std::numeric_limits<std::int16_t>::min()
        && pixels <= std::numeric_limits<std::int16_t>::max();
}

std::int32_t ReadPosition(const char* key, std::int32_t fallback)
{
    return ColorAPI::ReadIniValue(
        QString::fromLatin1(kWindowSection), QString::fromLatin1(key), fallback);
}

void WritePosition(const char* key, std::int32_t twips)
{
    ColorAPI::WriteIniValue(QString::fromLatin1(kWindowSection), QString::fromLatin1(key), twips);
}

std::int16_t ReadColorSetting(const ColorSetting& setting)
{
    return InRange(setting,
        ColorAPI::ReadIniValue(QString::fromLatin1(kColorSection), QString::fromLatin1(setting.key),
            setting.defaultValue));
}

void WriteColorSetting(const ColorSetting& setting, std::int16_t value)
{
    ColorAPI::WriteIniValue(
        QString::fromLatin1(kColorSection), QString::fromLatin1(setting.key), value);
}

} // namespace shell
