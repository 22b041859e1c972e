#include <QtTest>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "colour/conversions.h"
#include "support/colour_printers.h"

using colour::Triple;
using Conversion = Triple (*)(int, int, int);
Q_DECLARE_METATYPE(Triple)
Q_DECLARE_METATYPE(Conversion)

namespace {

// Channel maxima per model (all minima are 0), in ColorModel order.
constexpr std::array<std::array<int, 3>, 3> kModelMaxima{{
    {359, 100, 100},
    {359, 100, 100},
    {255, 255, 255},
}};

// Lowest and highest value seen per channel of one model or of RGB.
struct Spread {
    std::array<int, 3> lo{INT_MAX, INT_MAX, INT_MAX};
    std::array<int, 3> hi{INT_MIN, INT_MIN, INT_MIN};

    void Note(const Triple& t)
    {
        const std::array<int, 3> c{t.c0, t.c1, t.c2};
        for (std::size_t i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], c[i]);
            hi[i] = std::max(hi[i], c[i]);
        }
    }

    void CheckWithin(const char* what, const std::array<int, 3>& maxima) const
    {
        for (std::size_t i = 0; i < 3; ++i) {
            const QByteArray message = QByteArray(what) + " channel " + QByteArray::number(i)
                + " spans " + QByteArray::number(lo[i]) + ".." + QByteArray::number(hi[i]);
            QVERIFY2(lo[i] >= 0 && hi[i] <= maxima[i], message.constData());
        }
    }
};

// The textbook hue factor of a channel (offset 0 red, 4 green, 2 blue): 1 on
// the channel's own third of the circle, 0 on the opposite, linear between.
double HueFactor(int h, int offset)
{
    const double x = std::fmod(h / 60.0 + offset, 6.0);
    return std::clamp(std::abs(x - 3.0) - 1.0, 0.0, 1.0);
}

// The float steps of the conversions move a result by far less than this.
constexpr double kSlack = 1e-3;

// Whether `got` is what the exact `value` gives under floor(value + shift):
// shift 0.5 is the nearest integer, 0 is floor. Within kSlack of a boundary
// the float steps decide, so either neighbour is accepted there.
bool Agrees(int got, double value, double shift)
{
    const double y = value + shift;
    const double boundary = std::round(y);
    if (std::abs(y - boundary) < kSlack)
        return got == boundary - 1.0 || got == boundary;
    return got == std::floor(y);
}

constexpr double kNearest = 0.5;
constexpr double kFloor = 0.0;

// The textbook hue lies in [0, 360); a result of 0 may stand for 360.
bool HueAgrees(int got, double hue)
{
    return Agrees(got == 0 && hue > 180.0 ? 360 : got, hue, kNearest);
}

// YUV to RGB clamps below 0 and above 254, and takes the rest half-up.
bool ClampedAgrees(int got, double value)
{
    if (value < 0.0)
        return got == 0;
    if (std::abs(value - 254.0) < kSlack)
        return got == 254 || got == 255;
    if (value > 254.0)
        return got == 255;
    return Agrees(got, value, kNearest);
}

// Counts the disagreements of a cross-check and keeps the first for the message.
struct Mismatches {
    int count = 0;
    QByteArray first;

    void Check(bool agrees, const char* what, int a, int b, int c)
    {
        if (agrees || count++ > 0)
            return;
        first = QByteArray(what) + " of " + QByteArray::number(a) + ", " + QByteArray::number(b)
            + ", " + QByteArray::number(c);
    }
};

} // namespace

class tst_Conversions : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void rgbToModel_data();
    void rgbToModel();
    void modelToRgb_data();
    void modelToRgb();
    void rgbToModelStaysInRange();
    void modelToRgbStaysInRange();
    void fromRgbAgreesWithTextbook();
    void toRgbAgreesWithTextbook();
};

void tst_Conversions::workedExamples_data()
{
    QTest::addColumn<Conversion>("convert");
    QTest::addColumn<Triple>("in");
    QTest::addColumn<Triple>("expected");

    const auto row = [](const char* name, Conversion convert, Triple in, Triple expected) {
        QTest::newRow(name) << convert << in << expected;
    };
    using namespace colour;
    row("hsv: black", RgbToHsv, {0, 0, 0}, {0, 0, 0});
    row("hsv: white", RgbToHsv, {255, 255, 255}, {0, 0, 100});
    row("hsv: red", RgbToHsv, {255, 0, 0}, {0, 100, 100});
    row("hsv: green", RgbToHsv, {0, 255, 0}, {120, 100, 100});
    row("hsv: blue", RgbToHsv, {0, 0, 255}, {240, 100, 100});
    row("hsv: magenta", RgbToHsv, {255, 0, 255}, {300, 100, 100});
    row("hsv: dark blue", RgbToHsv, {12, 34, 56}, {210, 79, 22});
    row("hsv: salmon", RgbToHsv, {250, 128, 114}, {6, 54, 98});
    row("hsv: hue 7.5 goes up to even 8", RgbToHsv, {255, 248, 247}, {8, 3, 100});
    row("hsv: hue 22.5 goes down to even 22", RgbToHsv, {255, 250, 247}, {22, 3, 100});
    row("hsv: saturation 12.5 goes to 12", RgbToHsv, {200, 175, 175}, {0, 12, 78});
    row("hsv: faint red", RgbToHsv, {200, 199, 199}, {0, 0, 78});
    row("hsv: saturation 2.5 lies above as float", RgbToHsv, {40, 39, 39}, {0, 3, 16});
    row("hsv: saturation 17.5 lies below as float", RgbToHsv, {40, 33, 33}, {0, 17, 16});
    row("hsv: window 18,52,86", RgbToHsv, {18, 52, 86}, {210, 79, 34});
    row("hsv: window navy", RgbToHsv, {0, 0, 128}, {240, 100, 50});

    row("hls: red", RgbToHls, {255, 0, 0}, {0, 50, 100});
    row("hls: grey", RgbToHls, {128, 128, 128}, {0, 50, 0});
    row("hls: cyan", RgbToHls, {0, 255, 255}, {180, 50, 100});
    row("hls: dark blue", RgbToHls, {12, 34, 56}, {210, 13, 65});
    row("hls: salmon", RgbToHls, {250, 128, 114}, {6, 71, 93});
    row("hls: sum 255 divides by the sum", RgbToHls, {128, 127, 127}, {0, 50, 0});
    row("hls: sum 256 divides by 510 - sum", RgbToHls, {129, 127, 127}, {0, 50, 1});
    row("hls: saturation 2.5 lies above as float", RgbToHls, {41, 39, 39}, {0, 16, 3});
    row("hls: window 18,52,86", RgbToHls, {18, 52, 86}, {210, 20, 65});

    row("yuv: black", RgbToYuv, {0, 0, 0}, {0, 128, 128});
    row("yuv: white", RgbToYuv, {255, 255, 255}, {255, 128, 128});
    row("yuv: red", RgbToYuv, {255, 0, 0}, {76, 84, 255});
    row("yuv: green", RgbToYuv, {0, 255, 0}, {150, 43, 21});
    row("yuv: blue", RgbToYuv, {0, 0, 255}, {29, 255, 107});
    row("yuv: dark blue", RgbToYuv, {12, 34, 56}, {30, 142, 115});
    row("yuv: grey 3 floors V to 127", RgbToYuv, {3, 3, 3}, {3, 128, 127});
    row("yuv: grey 128 stays at 128", RgbToYuv, {128, 128, 128}, {128, 128, 128});
    row("yuv: window 18,52,86", RgbToYuv, {18, 52, 86}, {46, 150, 108});
    row("yuv: window navy", RgbToYuv, {0, 0, 128}, {15, 192, 117});

    row("hsv to rgb: red", HsvToRgb, {0, 100, 100}, {255, 0, 0});
    row("hsv to rgb: v 50 is 127.5 as float", HsvToRgb, {0, 100, 50}, {128, 0, 0});
    row("hsv to rgb: 76.5 goes to even 76", HsvToRgb, {0, 100, 30}, {76, 0, 0});
    row("hsv to rgb: 25.5 goes to even 26", HsvToRgb, {0, 100, 10}, {26, 0, 0});
    row("hsv to rgb: orange", HsvToRgb, {30, 100, 100}, {255, 128, 0});
    row("hsv to rgb: teal", HsvToRgb, {180, 100, 50}, {0, 128, 128});
    row("hsv to rgb: last hue", HsvToRgb, {359, 100, 100}, {255, 0, 4});
    row("hsv to rgb: olive", HsvToRgb, {60, 50, 50}, {128, 128, 64});
    row("hsv to rgb: sky", HsvToRgb, {210, 40, 80}, {122, 163, 204});
    row("hsv to rgb: window grey", HsvToRgb, {200, 0, 50}, {128, 128, 128});

    row("hls to rgb: red", HlsToRgb, {0, 50, 100}, {255, 0, 0});
    row("hls to rgb: mid edge floors to 127", HlsToRgb, {30, 50, 100}, {255, 127, 0});
    row("hls to rgb: falling edge", HlsToRgb, {61, 50, 100}, {250, 255, 0});
    row("hls to rgb: chartreuse, window", HlsToRgb, {90, 50, 100}, {127, 255, 0});
    row("hls to rgb: near green", HlsToRgb, {119, 50, 100}, {4, 255, 0});
    row("hls to rgb: steel", HlsToRgb, {200, 60, 30}, {122, 163, 183});
    row("hls to rgb: light above half", HlsToRgb, {300, 75, 40}, {216, 165, 216});
    row("hls to rgb: white", HlsToRgb, {0, 100, 0}, {255, 255, 255});
    row("hls to rgb: black", HlsToRgb, {0, 0, 0}, {0, 0, 0});

    row("yuv to rgb: black", YuvToRgb, {0, 128, 128}, {0, 0, 0});
    row("yuv to rgb: white", YuvToRgb, {255, 128, 128}, {255, 255, 255});
    row("yuv to rgb: exactly 254 stays", YuvToRgb, {254, 128, 128}, {254, 254, 254});
    row("yuv to rgb: above 254 is full", YuvToRgb, {253, 128, 129}, {255, 252, 253});
    row("yuv to rgb: 222.5 goes up", YuvToRgb, {1, 253, 128}, {1, 0, 223});
    row("yuv to rgb: top corner", YuvToRgb, {255, 255, 255}, {255, 121, 255});
    row("yuv to rgb: bottom corner", YuvToRgb, {0, 0, 0}, {0, 135, 0});
}

void tst_Conversions::workedExamples()
{
    QFETCH(Conversion, convert);
    QFETCH(Triple, in);
    QFETCH(Triple, expected);

    QCOMPARE(convert(in.c0, in.c1, in.c2), expected);
}

void tst_Conversions::rgbToModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<Triple>("expected");

    // One colour whose three models all differ, so a wrong pick shows.
    QTest::newRow("HSV") << int(colour::HSV) << Triple{210, 79, 22};
    QTest::newRow("HLS") << int(colour::HLS) << Triple{210, 13, 65};
    QTest::newRow("YUV") << int(colour::YUV) << Triple{30, 142, 115};
    QTest::newRow("unknown model gives zeros") << 3 << Triple{};
}

void tst_Conversions::rgbToModel()
{
    QFETCH(int, model);
    QFETCH(Triple, expected);

    QCOMPARE(colour::RgbToModel(12, 34, 56, static_cast<colour::ColorModel>(model)), expected);
}

void tst_Conversions::modelToRgb_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<Triple>("expected");

    // 60, 50, 50 read as each model in turn.
    QTest::newRow("HSV") << int(colour::HSV) << Triple{128, 128, 64};
    QTest::newRow("HLS") << int(colour::HLS) << Triple{191, 191, 63};
    QTest::newRow("YUV") << int(colour::YUV) << Triple{0, 143, 0};
    QTest::newRow("unknown model gives zeros") << -1 << Triple{};
}

void tst_Conversions::modelToRgb()
{
    QFETCH(int, model);
    QFETCH(Triple, expected);

    QCOMPARE(colour::ModelToRgb(60, 50, 50, static_cast<colour::ColorModel>(model)), expected);
}

void tst_Conversions::rgbToModelStaysInRange()
{
    Spread hsv, hls, yuv;
    for (int r = 0; r <= 255; ++r)
        for (int g = 0; g <= 255; ++g)
            for (int b = 0; b <= 255; ++b) {
                hsv.Note(colour::RgbToHsv(r, g, b));
                hls.Note(colour::RgbToHls(r, g, b));
                yuv.Note(colour::RgbToYuv(r, g, b));
            }
    hsv.CheckWithin("HSV", kModelMaxima[colour::HSV]);
    hls.CheckWithin("HLS", kModelMaxima[colour::HLS]);
    yuv.CheckWithin("YUV", kModelMaxima[colour::YUV]);
}

void tst_Conversions::modelToRgbStaysInRange()
{
    constexpr std::array<int, 3> kRgbMaxima{255, 255, 255};
    const std::array<Conversion, 3> toRgb{colour::HsvToRgb, colour::HlsToRgb, colour::YuvToRgb};
    for (std::size_t m = 0; m < toRgb.size(); ++m) {
        const auto& maxima = kModelMaxima[m];
        Spread rgb;
        for (int c0 = 0; c0 <= maxima[0]; ++c0)
            for (int c1 = 0; c1 <= maxima[1]; ++c1)
                for (int c2 = 0; c2 <= maxima[2]; ++c2)
                    rgb.Note(toRgb[m](c0, c1, c2));
        const QByteArray what = "RGB from model " + QByteArray::number(m);
        rgb.CheckWithin(what.constData(), kRgbMaxima);
    }
}

void tst_Conversions::fromRgbAgreesWithTextbook()
{
    Mismatches mismatches;
    for (int r = 0; r <= 255; ++r)
        for (int g = 0; g <= 255; ++g)
            for (int b = 0; b <= 255; ++b) {
                const int max = std::max({r, g, b});
                const int min = std::min({r, g, b});
                const double chroma = max - min;
                const int sum = max + min;
                double hue = 0.0;
                if (chroma > 0.0) {
                    if (max == r)
                        hue = 60.0 * std::fmod((g - b) / chroma + 6.0, 6.0);
                    else if (max == g)
                        hue = 60.0 * ((b - r) / chroma + 2.0);
                    else
                        hue = 60.0 * ((r - g) / chroma + 4.0);
                }
                const double hsvS = chroma > 0.0 ? 100.0 * chroma / max : 0.0;
                const int hlsDivisor = sum <= 255 ? sum : 510 - sum;
                const double hlsS = chroma > 0.0 ? 100.0 * chroma / hlsDivisor : 0.0;

                const auto [h1, s1, v1] = colour::RgbToHsv(r, g, b);
                mismatches.Check(HueAgrees(h1, hue) && Agrees(s1, hsvS, kNearest)
                        && Agrees(v1, 100.0 * max / 255.0, kNearest),
                    "HSV", r, g, b);
                const auto [h2, l2, s2] = colour::RgbToHls(r, g, b);
                mismatches.Check(HueAgrees(h2, hue) && Agrees(l2, 100.0 * sum / 510.0, kNearest)
                        && Agrees(s2, hlsS, kNearest),
                    "HLS", r, g, b);
                // YUV with its coefficients as exact decimal fractions.
                const auto [y3, u3, v3] = colour::RgbToYuv(r, g, b);
                mismatches.Check(Agrees(y3, (29891 * r + 58661 * g + 11448 * b) / 1e5, kNearest)
                        && Agrees(u3, 128 + (500000 * b - 168736 * r - 331264 * g) / 1e6, kFloor)
                        && Agrees(v3, 128 + (500000 * r - 418688 * g - 81312 * b) / 1e6, kFloor),
                    "YUV", r, g, b);
            }
    QVERIFY2(mismatches.count == 0, mismatches.first.constData());
}

void tst_Conversions::toRgbAgreesWithTextbook()
{
    constexpr std::array<int, 3> kOffsets{0, 4, 2};
    Mismatches mismatches;
    for (int h = 0; h <= 359; ++h)
        for (int a = 0; a <= 100; ++a)
            for (int b = 0; b <= 100; ++b) {
                // HSV with S = a, V = b: the value scaled down by the saturation
                // wherever the hue factor is below 1.
                const auto hsv = colour::HsvToRgb(h, a, b);
                // HLS with L = a, S = b: chroma from the distance to mid lightness.
                const double light = a / 100.0;
                const double chroma = (1.0 - std::abs(2.0 * light - 1.0)) * (b / 100.0);
                const auto hls = colour::HlsToRgb(h, a, b);

                const std::array<int, 3> hsvGot{hsv.c0, hsv.c1, hsv.c2};
                const std::array<int, 3> hlsGot{hls.c0, hls.c1, hls.c2};
                bool hsvAgrees = true;
                bool hlsAgrees = true;
                for (std::size_t i = 0; i < 3; ++i) {
                    const double f = HueFactor(h, kOffsets[i]);
                    const double hsvExact = 255.0 * (b / 100.0) * (1.0 - (a / 100.0) * (1.0 - f));
                    const double hlsExact = 255.0 * (light - chroma / 2.0 + chroma * f);
                    hsvAgrees = hsvAgrees && Agrees(hsvGot[i], hsvExact, kNearest);
                    hlsAgrees = hlsAgrees && Agrees(hlsGot[i], hlsExact, kFloor);
                }
                mismatches.Check(hsvAgrees, "HSV", h, a, b);
                mismatches.Check(hlsAgrees, "HLS", h, a, b);
            }
    for (int y = 0; y <= 255; ++y)
        for (int u = -128; u <= 127; ++u)
            for (int v = -128; v <= 127; ++v) {
                const auto [r, g, b] = colour::YuvToRgb(y, u + 128, v + 128);
                mismatches.Check(ClampedAgrees(r, (1000 * y + 1402 * v) / 1e3)
                        && ClampedAgrees(g, (100000 * y - 34414 * u - 71414 * v) / 1e5)
                        && ClampedAgrees(b, (1000 * y + 1772 * u) / 1e3),
                    "YUV", y, u + 128, v + 128);
            }
    QVERIFY2(mismatches.count == 0, mismatches.first.constData());
}

QTEST_APPLESS_MAIN(tst_Conversions)
#include "tst_conversions.moc"
