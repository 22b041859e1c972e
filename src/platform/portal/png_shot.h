#pragma once

#include <QImage>
#include <QString>

#include <cstddef>

namespace platform::portal {

// A PNG as the pick draws and reads it: Format_RGB32, opaque, each pixel
// decoded straight into its place with no second pass over the image.
// Palette, grey, 16-bit and interlaced files come out as the same colours
// Qt's own reader gives (alpha dropped, 16 bits scaled to 8); any file that
// is not a whole PNG, or too large to hold, gives a null image.
QImage DecodePng(const uchar* data, std::size_t size);

// The screenshot the portal wrote to `file`, read in one go: a PNG as
// above, another format through Qt's readers. Null where the file cannot
// be read or decoded. The file is left where it is.
QImage ReadShot(const QString& file);

} // namespace platform::portal
