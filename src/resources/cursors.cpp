#include "resources/cursors.h"

#include <QImage>
#include <QPixmap>

#include <array>

namespace resources {

namespace {

using Art = std::array<const char*, 32>;

// 'X' black, 'o' white, '.' transparent: a monochrome cursor as it is drawn.
constexpr Art kEyedropper{
    "................................",
    "................................",
    "......................XXXXX.....",
    ".....................XXXXXXX....",
    "....................XXXXXXXXX...",
    "....................XXXXXXXXX...",
    "....................XXXXXXXXX...",
    "....................XXXXXXXXX...",
    "...................XXXXXXXXXX...",
    "................X.XXXXXXXXXX....",
    "...............XXXXXXXXXXXX.....",
    "................XXXXXXX.........",
    "................XXXXXX..........",
    ".............XXXXXXXX...........",
    "............XXooXXXXXX..........",
    "...........XXooooX..XXX.........",
    "..........XXoooooX...X..........",
    ".........XXoooooXX..............",
    "........XXoooooXX...............",
    ".......XXoooooXX................",
    "......XXoooooXX.................",
    ".....XXoooooXX..................",
    "....XXoooooXX...................",
    "...XXoooooXX....................",
    "...XoooooXX.....................",
    "...XooooXX......................",
    "...XXooXX.......................",
    "....XXXX........................",
    "................................",
    "................................",
    "................................",
    "................................",
};

constexpr Art kHand{
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "........XXXXXX..................",
    "........XooooX..................",
    "........XooooX..................",
    "........XooooX..................",
    "........XooooX..................",
    "........XooooXXXX...............",
    "........XoooooooXXXX............",
    "........XooooooooooXXXX.........",
    "........XoooooooooooooX.........",
    "....XXXXXoooooooooooooX.........",
    "....XoooooooooooooooooX.........",
    "....XoooooooooooooooooX.........",
    "....XXooooooooooooooooX.........",
    ".....XXoooooooooooooooX.........",
    "......XXooooooooooooooX.........",
    ".......XXoooooooooooooX.........",
    "........XoooooooooooooX.........",
    "........XoooooooooooooX.........",
    "........XXoooooooooooXX.........",
    ".........XoooooooooooX..........",
    ".........XoooooooooooX..........",
    ".........XXXXXXXXXXXXX..........",
    "................................",
};

// Drawn in colour rather than as a bitmap and mask: Qt's Wayland plugin
// shows a bitmap cursor as nothing at all.
QCursor FromArt(const Art& art, int hotX, int hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = art[y][x];
            image.setPixel(x, y, c == 'X' ? 0xFF000000 : c == '.' ? 0x00000000 : 0xFFFFFFFF);
        }
    }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

} // namespace

QCursor LoadResCursor(int id)
{
    switch (id) {
    case kEyedropperCursor: return FromArt(kEyedropper, 4, 26);
    case kHandCursor: return FromArt(kHand, 10, 10);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace resources
