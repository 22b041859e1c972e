#include "colour/conversions.h"

#include "colour/rounding.h"

// Every result here is fixed to the bit, so the code follows the written steps
// literally: double operations in the written order (no FMA, see CMakeLists),
// and a value the steps hold as a float is rounded with static_cast<float> but
// kept in a double variable, so that no arithmetic happens in float by accident.
namespace colour {
namespace {

Triple MakeTriple(int c0, int c1, int c2)
{
    return {static_cast<std::int16_t>(c0), static_cast<std::int16_t>(c1),
        static_cast<std::int16_t>(c2)};
}

struct Extremes {
    int max = 0;
    int min = 0;
    int hue = 0;
};

// Shared by HSV and HLS, which therefore always agree on the hue.
Extremes ExtremesAndHue(int r, int g, int b)
{
    Extremes e;
    if (r > g) {
        e.max = r;
        e.min = g;
    } else {
        e.max = g;
        e.min = r;
    }
    if (b > e.max)
        e.max = b;
    if (b < e.min)
        e.min = b;

    const double diff = e.max - e.min;
    if (diff == 0)
        return e; // a grey has no hue; callers skip the saturation division
    // Equal maxima take the first matching rule.
    if (e.max == r)
        e.hue = RoundHalfEven((g - b) / diff * 60.0);
    else if (e.max == g)
        e.hue = RoundHalfEven((b - r) / diff * 60.0 + 120.0);
    else
        e.hue = RoundHalfEven((r - g) / diff * 60.0 + 240.0);
    if (e.hue < 0)
        e.hue += 360;
    if (e.hue >= 360)
        e.hue -= 360;
    return e;
}

} // namespace

Triple RgbToHsv(int r, int g, int b)
{
    const Extremes e = ExtremesAndHue(r, g, b);
    const int diff = e.max - e.min;
    const double s = diff == 0 ? 0.0 : static_cast<float>(static_cast<double>(diff) / e.max);
    return MakeTriple(e.hue, RoundHalfEven(s * 100.0), RoundHalfEven(e.max / 2.55));
}

Triple RgbToHls(int r, int g, int b)
{
    const Extremes e = ExtremesAndHue(r, g, b);
    const int diff = e.max - e.min;
    // The sum is a float in the original steps; a float holds any sum of two
    // channels exactly, so the integer is the same number.
    const int sum = e.max + e.min;
    double s = 0.0;
    if (diff != 0) {
        const double divisor = sum < 256 ? sum : 510 - sum;
        s = static_cast<float>(diff / divisor);
    }
    return MakeTriple(e.hue, RoundHalfEven(sum / 5.1), RoundHalfEven(s * 100.0));
}

Triple RgbToYuv(int r, int g, int b)
{
    // The U and V coefficients sum to zero, but their rounded products do not
    // cancel: some greys floor to 127 instead of 128. That is intended.
    const int y = RoundHalfEven(r * kLumaRed + g * kLumaGreen + b * kLumaBlue);
    const int u = Floor(r * -0.168736 - g * 0.331264 + b * 0.5) + 128;
    const int v = Floor(r * 0.5 - g * 0.418688 - b * 0.081312) + 128;
    return MakeTriple(y, u, v);
}

Triple HsvToRgb(int h, int sPercent, int vPercent)
{
    const int k = h / 60; // h is never negative, so truncation gives the sector
    const double x = h / 60.0;
    double fr = 0.0;
    double fg = 0.0;
    double fb = 0.0;
    switch (k) {
    case 0:
        fr = 1.0;
        fg = static_cast<float>(x);
        break;
    case 1:
        fr = static_cast<float>(2.0 - x);
        fg = 1.0;
        break;
    case 2:
        fg = 1.0;
        fb = static_cast<float>(x - 2.0);
        break;
    case 3:
        fg = static_cast<float>(4.0 - x);
        fb = 1.0;
        break;
    case 4:
        fr = static_cast<float>(x - 4.0);
        fb = 1.0;
        break;
    default:
        fr = 1.0;
        fb = static_cast<float>(6.0 - x);
        break;
    }
    // The float rounding of v is what turns 50 * 2.55 (127.49999...) into 127.5.
    const double s = static_cast<float>(sPercent / 100.0);
    const double v = static_cast<float>(vPercent * 2.55);
    const auto channel
        = [s, v](double f) { return RoundHalfEven(((1.0 - f) * (1.0 - s) + f) * v); };
    return MakeTriple(channel(fr), channel(fg), channel(fb));
}

Triple HlsToRgb(int h, int lPercent, int sPercent)
{
    const double l = static_cast<float>(lPercent * 2.55);
    const double s = static_cast<float>(sPercent / 100.0);
    const double m2 = l < 128.0 ? static_cast<float>((s + 1.0) * l)
                                : static_cast<float>((s * 255.0 + l) - s * l);
    const double m1 = static_cast<float>((l + l) - m2);

    const auto channel = [m1, m2](int t) {
        const double x = t / 60.0;
        // Floor, not truncation: hues from -60 to -1 belong to sector -1.
        const int k = Floor(x);
        double value = m1; // sectors -2, -1, 4 and 5
        switch (k) {
        case 0:
        case 6: value = static_cast<float>((x - k) * (m2 - m1) + m1); break;
        case 1:
        case 2:
        case 7: value = m2; break;
        case 3: value = static_cast<float>((4.0 - x) * (m2 - m1) + m1); break;
        default: break;
        }
        // Floor where HSV takes the nearest: a mid edge of 127.5 is 127 here.
        return Floor(value);
    };
    return MakeTriple(channel(h + 120), channel(h), channel(h - 120));
}

Triple YuvToRgb(int y, int uOffset, int vOffset)
{
    const int u = uOffset - 128;
    const int v = vOffset - 128;
    const double r = static_cast<float>(v * 1.402 + y);
    const double g = static_cast<float>((y - u * 0.34414) - v * 0.71414);
    const double b = static_cast<float>(u * 1.772 + y);
    // The top threshold is 254, not 255: 254.4 already reads as full.
    const auto channel = [](double value) {
        if (value < 0.0)
            return 0;
        if (value > 254.0)
            return 255;
        return RoundHalfUp(value);
    };
    return MakeTriple(channel(r), channel(g), channel(b));
}

const ModelRow* FindModelRow(ColorModel model)
{
    return model >= 0 && model < std::ssize(kModelRows)
        ? &kModelRows[static_cast<std::size_t>(model)]
        : nullptr;
}

Triple RgbToModel(int r, int g, int b, ColorModel model)
{
    const ModelRow* row = FindModelRow(model);
    return row ? row->fromRgb(r, g, b) : Triple{};
}

Triple ModelToRgb(int c0, int c1, int c2, ColorModel model)
{
    const ModelRow* row = FindModelRow(model);
    return row ? row->toRgb(c0, c1, c2) : Triple{};
}

} // namespace colour
