#include "shell/settings_rules.h"

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

} // namespace shell
