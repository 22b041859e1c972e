#include "resources/strings.h"

#include "resources/web_page.h"

#include <utility>

namespace resources {

namespace {

// "～" is the full-width tilde U+FF5E, which is what a Japanese range reads with.
constexpr std::pair<std::int16_t, const char*> kTable[] = {
    {1020, "0～255"},
    {1021, "00～FF"},
    {1022, "0～359"},
    {1023, "0～100"},
    {1100, "HSV"},
    {1101, "色相(&H)"},
    {1102, "彩度(&S)"},
    {1103, "強度(&V)"},
    {1110, "HLS"},
    {1111, "色相(&H)"},
    {1112, "明度(&L)"},
    {1113, "彩度(&S)"},
    {1120, "YUV"},
    {1121, "輝度(&Y)"},
    {1122, "青み(&U)"},
    {1123, "赤み(&V)"},
    {kWebPageString, kWebPageUrl},
};

} // namespace

QString LoadResString(std::int16_t id)
{
    for (const auto& [key, text] : kTable) {
        if (key == id && text)
            return QString::fromUtf8(text);
    }
    return {};
}

} // namespace resources
