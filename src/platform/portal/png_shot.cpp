#include "platform/portal/png_shot.h"

#include <QFile>

#include <libdeflate.h>
#include <png.h>
#include <sys/mman.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace platform::portal {

namespace {

// Three 8K outputs side by side still fit; a header that claims more is
// refused before anything is allocated for it.
constexpr png_uint_32 kMaxSide = 32768;
constexpr qsizetype kMaxBytes = qsizetype(1) << 30;

png_uint_32 BigEndian(const uchar* at)
{
    return png_uint_32(at[0]) << 24 | png_uint_32(at[1]) << 16 | png_uint_32(at[2]) << 8 | at[3];
}

// The screenshots the desktops write are 8-bit RGB or RGBA, not interlaced,
// in one zlib stream split over IDAT chunks: that stream inflates in one
// call of libdeflate, several times faster than zlib's inflate on the long
// runs a desktop makes, and each row is unfiltered and stored in one go.
// Nothing where the file is another kind of PNG, which libpng then reads.
struct Plain {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    QByteArray stream;
};

std::optional<Plain> FindPlain(const uchar* data, std::size_t size)
{
    Plain plain;
    std::size_t at = 8;
    bool header = false;
    while (size - at >= 12) {
        const png_uint_32 length = BigEndian(data + at);
        const uchar* type = data + at + 4;
        const uchar* body = data + at + 8;
        if (length > size - at - 12)
            return std::nullopt;
        if (!header) {
            // colour type 2 is RGB, 6 RGBA; compression, filter method 0,
            // no interlace.
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13 || body[8] != 8
                || (body[9] != 2 && body[9] != 6) || body[10] != 0 || body[11] != 0
                || body[12] != 0)
                return std::nullopt;
            plain.width = BigEndian(body);
            plain.height = BigEndian(body + 4);
            plain.channels = body[9] == 6 ? 4 : 3;
            header = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            plain.stream.append(reinterpret_cast<const char*>(body), length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            if (plain.width == 0 || plain.height == 0 || plain.width > kMaxSide
                || plain.height > kMaxSide || plain.stream.isEmpty())
                return std::nullopt;
            return plain;
        }
        at += 12 + std::size_t(length);
    }
    return std::nullopt;
}

// A screenshot's buffers are tens of megabytes, written once from end to
// end: in pages of 2 MiB where the kernel offers them, not a fault for
// every 4 KiB. Freed with std::free.
uchar* AllocateLarge(std::size_t bytes)
{
    constexpr std::size_t kHuge = std::size_t(2) << 20;
    const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
    void* block = std::aligned_alloc(kHuge, rounded);
    if (block)
        madvise(block, rounded, MADV_HUGEPAGE); // only advice: fine where refused
    return static_cast<uchar*>(block);
}

void FreeLarge(void* block)
{
    std::free(block);
}

inline uchar Paeth(int left, int up, int corner)
{
    const int p = left + up - corner;
    const int toLeft = std::abs(p - left);
    const int toUp = std::abs(p - up);
    const int toCorner = std::abs(p - corner);
    if (toLeft <= toUp && toLeft <= toCorner)
        return uchar(left);
    return uchar(toUp <= toCorner ? up : corner);
}

// Undoes the filter of one row from `in` into `row`; `up` is the row above,
// unfiltered. The pixel to the left stays in registers: a byte loop through
// memory waits on its own last store at every byte.
template <int N>
bool Unfilter(uchar filter, const uchar* in, uchar* __restrict row, const uchar* __restrict up,
    std::size_t bytes)
{
    uchar left[N] = {};
    uchar corner[N] = {};
    switch (filter) {
    case 0: std::memcpy(row, in, bytes); return true;
    case 1:
        for (std::size_t i = 0; i < bytes; i += N) {
            for (int k = 0; k < N; ++k)
                row[i + k] = left[k] = uchar(in[i + k] + left[k]);
        }
        return true;
    case 2:
        for (std::size_t i = 0; i < bytes; ++i)
            row[i] = uchar(in[i] + up[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < bytes; i += N) {
            for (int k = 0; k < N; ++k)
                row[i + k] = left[k] = uchar(in[i + k] + (left[k] + up[i + k]) / 2);
        }
        return true;
    case 4:
        for (std::size_t i = 0; i < bytes; i += N) {
            for (int k = 0; k < N; ++k) {
                row[i + k] = left[k] = uchar(in[i + k] + Paeth(left[k], up[i + k], corner[k]));
                corner[k] = up[i + k];
            }
        }
        return true;
    default: return false;
    }
}

// Red, green, blue (and alpha, dropped) to opaque RGB32 pixels.
template <int N> void Store(const uchar* __restrict row, QRgb* __restrict out, std::size_t width)
{
    if constexpr (N == 4 && Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // Whole pixels at a time, which the compiler turns into vector
        // shuffles: bytes r, g, b, a load as 0xAABBGGRR.
        for (std::size_t x = 0; x < width; ++x) {
            std::uint32_t rgba;
            std::memcpy(&rgba, row + 4 * x, 4);
            out[x] = 0xFF000000u | (rgba & 0xFFu) << 16 | (rgba & 0xFF00u) | (rgba >> 16 & 0xFFu);
        }
    } else {
        for (std::size_t x = 0; x < width; ++x)
            out[x] = qRgb(row[x * N], row[x * N + 1], row[x * N + 2]);
    }
}

template <int N> QImage DecodePlain(const Plain& plain)
{
    const std::size_t width = plain.width;
    const std::size_t height = plain.height;
    const std::size_t stride = width * 4;
    const std::size_t bytes = width * N;
    const std::size_t inflated = (bytes + 1) * height;
    if (stride * height > std::size_t(kMaxBytes))
        return {};
    // The rows inflate into the end of the picture's own buffer, and are
    // stored from its start: row y's pixels end before row y + 1's filtered
    // bytes begin, and row y's are read first. A second buffer of this size
    // would cost as much again in the kernel's fresh zeroed pages.
    const std::size_t size = std::max(stride * height, inflated);
    uchar* const bits = AllocateLarge(size);
    if (!bits)
        return {};
    QImage image(
        bits, int(width), int(height), qsizetype(stride), QImage::Format_RGB32, FreeLarge, bits);
    uchar* const rows = bits + (size - inflated);
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (!inflater)
        return {};
    // Exactly the rows the header promises, or nothing.
    const libdeflate_result result = libdeflate_zlib_decompress(inflater, plain.stream.constData(),
        std::size_t(plain.stream.size()), rows, inflated, nullptr);
    libdeflate_free_decompressor(inflater);
    if (result != LIBDEFLATE_SUCCESS)
        return {};
    // This row and the one above, unfiltered; the first has zeros above.
    const std::unique_ptr<uchar[]> lines(new uchar[2 * bytes]());
    uchar* row = lines.get();
    uchar* up = lines.get() + bytes;
    for (std::size_t y = 0; y < height; ++y) {
        const uchar* in = rows + y * (bytes + 1);
        if (!Unfilter<N>(in[0], in + 1, row, up, bytes))
            return {};
        Store<N>(row, reinterpret_cast<QRgb*>(bits + y * stride), width);
        std::swap(row, up);
    }
    return image;
}

// Any other PNG, through libpng.
struct Source {
    const uchar* data;
    std::size_t size;
    std::size_t at;
};

void ReadFrom(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "truncated");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void Fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp)
{ }

// libpng reports a fault by a long jump back here: nothing in this function
// may need a destructor run between setjmp and the last libpng call, and
// `image` is the caller's, null again on a fault.
bool Decode(png_structp png, png_infop info, QImage& image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxSide, kMaxSide);
    // A chunk's checksum is left to the stream's own: a header that names
    // a size the pixels do not fill still fails below.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int type = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &type, &interlace, nullptr, nullptr);
    if (qsizetype(width) * height * 4 > kMaxBytes)
        return false;

    // Every kind of PNG to 8-bit blue, green, red and a filler byte: the
    // memory order of an opaque QImage::Format_RGB32 pixel on this machine.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    // What the transforms promise, checked before a row is written.
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4
        || png_get_rowbytes(png, info) != std::size_t(width) * 4)
        return false;

    image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    // An interlaced file fills each row over several passes.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, bits + y * stride, nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

QImage DecodePng(const uchar* data, std::size_t size)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return {};
    if (const std::optional<Plain> plain = FindPlain(data, size))
        return plain->channels == 4 ? DecodePlain<4>(*plain) : DecodePlain<3>(*plain);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    QImage image;
    Source source{data, size, 0};
    if (info) {
        png_set_read_fn(png, &source, ReadFrom);
        if (!Decode(png, info, image))
            image = QImage();
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return image;
}

QImage ReadShot(const QString& file)
{
    // One read, not a map: the portal's writer (xdg-desktop-portal-wlr
    // always uses the same path) might cut the file short under a map.
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() >= 8 && png_sig_cmp(data, 0, 8) == 0)
        return DecodePng(data, std::size_t(bytes.size()));
    // Not a PNG after all: whatever else Qt reads.
    return QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
}

} // namespace platform::portal
