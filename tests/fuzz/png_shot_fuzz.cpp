#include "fuzz_check.h"
#include "platform/portal/png_shot.h"

#include <cstddef>
#include <cstdint>

// Any bytes as the portal's screenshot file. Whatever the fast path for the
// usual screenshots or libpng makes of them, the pick gets either nothing
// or an opaque RGB32 picture of the size the header names.
namespace {

std::uint32_t BigEndian(const std::uint8_t* at)
{
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8
        | at[3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A header may name up to a gigabyte of pixels, which the decoder takes
    // on; the fuzzer's memory limit would call that a fault. The signature
    // and IHDR's length and name take 16 bytes.
    if (size >= 24 && std::uint64_t(BigEndian(data + 16)) * BigEndian(data + 20) > (1u << 22))
        return 0;
    const QImage image = platform::portal::DecodePng(data, size);
    if (image.isNull())
        return 0;
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(std::uint32_t(image.width()) == BigEndian(data + 16));
    FUZZ_CHECK(std::uint32_t(image.height()) == BigEndian(data + 20));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            FUZZ_CHECK(qAlpha(row[x]) == 255);
    }
    return 0;
}
