#include "platform/portal/png_shot.h"

#include <QTemporaryFile>
#include <QTest>

#include <png.h>

#include <csetjmp>
#include <vector>

// Every kind of PNG a portal could write, each filter the fast path undoes,
// and files cut short or lying about their size: the pick either gets Qt's
// own colours for them or nothing.
class tst_PngShot : public QObject {
    Q_OBJECT

private slots:
    void readsLikeQt_data();
    void readsLikeQt();
};

namespace {

struct Kind {
    int type = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    int filters = PNG_ALL_FILTERS;
};

int Channels(int type)
{
    switch (type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

void Append(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

// libpng's long jump lands here, where nothing needs a destructor.
bool Encode(png_structp png, png_infop info, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// A picture of `kind` whose samples change a little from one to the next,
// as on a desktop, so that every filter has work, and whose alpha varies.
QByteArray Write(const Kind& kind, int width = 37, int height = 23)
{
    const int channels = Channels(kind.type);
    const int max = (1 << kind.depth) - 1;
    const std::size_t stride = (std::size_t(width) * channels * kind.depth + 7) / 8;
    std::vector<png_byte> pixels(stride * height);
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * channels; ++i) {
            // Noise on a gradient: ties for the predictors as well as misses.
            const unsigned noise = (i * 2654435761u + y * 40503u) >> 13;
            const unsigned sample = (i / channels * (y % 4) + noise % 5) % unsigned(max + 1);
            png_byte* row = pixels.data() + y * stride;
            if (kind.depth == 16) {
                row[2 * i] = png_byte(sample >> 8);
                row[2 * i + 1] = png_byte(sample);
            } else {
                const int bit = i * kind.depth;
                row[bit / 8] |= png_byte(sample << (8 - kind.depth - bit % 8));
            }
        }
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = pixels.data() + y * stride;
    std::vector<png_color> palette(std::size_t(max) + 1);
    std::vector<png_byte> opacity(palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {png_byte(i * 37), png_byte(255 - i), png_byte(i * 11)};
        opacity[i] = png_byte(i * 29);
    }

    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), kind.depth, kind.type,
        kind.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (kind.type == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
        png_set_tRNS(png, info, opacity.data(), int(opacity.size()), nullptr);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kind.filters);
    const bool written = Encode(png, info, rows.data());
    png_destroy_write_struct(&png, &info);
    return written ? out : QByteArray();
}

// Where the chunk of `type` starts (its length field).
qsizetype Chunk(const QByteArray& png, const char* type)
{
    return png.indexOf(type) - 4;
}

QByteArray WithHeight(QByteArray png, quint32 height)
{
    const qsizetype at = Chunk(png, "IHDR") + 12;
    for (int i = 0; i < 4; ++i)
        png[at + i] = char(height >> (24 - 8 * i));
    return png;
}

} // namespace

void tst_PngShot::readsLikeQt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("decodes");

    const std::pair<const char*, int> filters[]
        = {{"none", PNG_FILTER_NONE}, {"sub", PNG_FILTER_SUB}, {"up", PNG_FILTER_UP},
            {"average", PNG_FILTER_AVG}, {"paeth", PNG_FILTER_PAETH}};
    for (const auto& [name, filter] : filters) {
        QTest::addRow("rgb, %s", name) << Write({PNG_COLOR_TYPE_RGB, 8, false, filter}) << true;
        QTest::addRow("rgba, %s", name)
            << Write({PNG_COLOR_TYPE_RGB_ALPHA, 8, false, filter}) << true;
    }
    QTest::newRow("rgb, 16 bits") << Write({PNG_COLOR_TYPE_RGB, 16}) << true;
    QTest::newRow("rgba, 16 bits") << Write({PNG_COLOR_TYPE_RGB_ALPHA, 16}) << true;
    QTest::newRow("grey, 1 bit") << Write({PNG_COLOR_TYPE_GRAY, 1}) << true;
    QTest::newRow("grey, 4 bits") << Write({PNG_COLOR_TYPE_GRAY, 4}) << true;
    QTest::newRow("grey, 16 bits") << Write({PNG_COLOR_TYPE_GRAY, 16}) << true;
    QTest::newRow("grey and alpha") << Write({PNG_COLOR_TYPE_GRAY_ALPHA, 8}) << true;
    QTest::newRow("palette, 2 bits") << Write({PNG_COLOR_TYPE_PALETTE, 2}) << true;
    QTest::newRow("palette, 8 bits") << Write({PNG_COLOR_TYPE_PALETTE, 8}) << true;
    QTest::newRow("rgb, interlaced") << Write({PNG_COLOR_TYPE_RGB, 8, true}) << true;
    QTest::newRow("rgba, 16 bits, interlaced")
        << Write({PNG_COLOR_TYPE_RGB_ALPHA, 16, true}) << true;
    QTest::newRow("one pixel") << Write({}, 1, 1) << true;

    const QByteArray rgb = Write({});
    const QByteArray grey = Write({PNG_COLOR_TYPE_GRAY, 16});
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("not a picture") << QByteArray("P6 not a PNG at all") << false;
    QTest::newRow("cut in the header") << rgb.left(20) << false;
    for (const auto& [name, file] : {std::pair{"rgb", rgb}, std::pair{"grey", grey}}) {
        const qsizetype pixels = Chunk(file, "IDAT") + 8;
        QTest::addRow("%s, cut in the pixels", name) << file.left(pixels + 40) << false;
        QTest::addRow("%s, cut before the end", name) << file.left(Chunk(file, "IEND")) << false;
        QTest::addRow("%s, more rows than it holds", name) << WithHeight(file, 24) << false;
        QTest::addRow("%s, far too large", name) << WithHeight(file, 1u << 30) << false;
        QByteArray garbled = file;
        garbled[pixels + 2] = char(~garbled[pixels + 2]);
        QTest::addRow("%s, garbled pixels", name) << garbled << false;
    }
}

void tst_PngShot::readsLikeQt()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, decodes);

    QTemporaryFile written;
    QVERIFY(written.open());
    written.write(file);
    written.close();
    const QImage shot = platform::portal::ReadShot(written.fileName());
    if (!decodes) {
        QVERIFY(shot.isNull());
        return;
    }
    const QImage qt = QImage::fromData(file).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!qt.isNull());
    QCOMPARE(shot.format(), QImage::Format_RGB32);
    QCOMPARE(shot.size(), qt.size());
    for (int y = 0; y < shot.height(); ++y) {
        const auto* ours = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        const auto* theirs = reinterpret_cast<const QRgb*>(qt.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            // Opaque too: the overlays draw the picture as it is.
            if (ours[x] != (theirs[x] | 0xFF000000))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, Qt reads %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(ours[x], 8, 16)
                                     .arg(theirs[x], 8, 16)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_PngShot)
#include "tst_png_shot.moc"
