#pragma once

#include <QIcon>
#include <QPixmap>

namespace resources {

// The window icon: three overlapping light discs, red, green and blue, mixing
// to white where all three meet, on a dark rounded tile.
QPixmap IconImage(int size);
QIcon AppIcon(); // 16, 32 and 48 pixels

} // namespace resources
