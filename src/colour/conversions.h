#pragma once

#include <array>
#include <cstdint>

// Conversions between RGB and the three second models. Every step is fixed to
// the bit: double arithmetic in the written order, the float roundings, and a
// named rule wherever a real becomes an integer. The results are not inverse
// to each other, and must not be "improved".
namespace colour {

enum ColorModel : std::int16_t { HSV = 0, HLS = 1, YUV = 2 };

struct Triple {
    std::int16_t c0 = 0;
    std::int16_t c1 = 0;
    std::int16_t c2 = 0;

    friend bool operator==(const Triple&, const Triple&) = default;
};

// The weights of red, green and blue in a colour's luminance, shared by YUV's
// Y and BlackTextReadable. Each sums the products in its own order, and that order
// is part of its result, since every addition rounds.
inline constexpr double kLumaRed = 0.29891;
inline constexpr double kLumaGreen = 0.58661;
inline constexpr double kLumaBlue = 0.11448;

Triple RgbToHsv(int r, int g, int b);
Triple RgbToHls(int r, int g, int b);
Triple RgbToYuv(int r, int g, int b);
Triple HsvToRgb(int h, int s, int v);
Triple HlsToRgb(int h, int l, int s);
Triple YuvToRgb(int y, int u, int v);

// Everything the window needs of one model: its two conversions, the
// maxima of its three channels and the string ids of their range tooltips.
struct ModelRow {
    Triple (*fromRgb)(int, int, int);
    Triple (*toRgb)(int, int, int);
    std::array<std::int16_t, 3> maxima;
    std::array<std::int16_t, 3> tooltipIds;
};

// Indexed by ColorModel.
inline constexpr std::array<ModelRow, 3> kModelRows{{
    {RgbToHsv, HsvToRgb, {359, 100, 100}, {1022, 1023, 1023}},
    {RgbToHls, HlsToRgb, {359, 100, 100}, {1022, 1023, 1023}},
    {RgbToYuv, YuvToRgb, {255, 255, 255}, {1020, 1020, 1020}},
}};
static_assert(HSV == 0 && HLS == 1 && YUV == 2);

// The row of `model`, or nullptr for an index outside the three models.
const ModelRow* FindModelRow(ColorModel model);

// An index outside the three models gives the zero triple.
Triple RgbToModel(int r, int g, int b, ColorModel model);
Triple ModelToRgb(int c0, int c1, int c2, ColorModel model);

} // namespace colour
