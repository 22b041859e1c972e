#include "resources/cursors.h"

#include <QBitmap>
#include <QImage>

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

QCursor FromArt(const Art& art, int hotX, int hotY)
{
    QImage ink(32, 32, QImage::Format_Mono);
    QImage mask(32, 32, QImage::Format_Mono);
    ink.fill(0);
    mask.fill(0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = art[y][x];
            ink.setPixel(x, y, c == 'X' ? 1 : 0);
            mask.setPixel(x, y, c == '.' ? 0 : 1);
        }
    }
    return QCursor(QBitmap::fromImage(ink), QBitmap::fromImage(mask), hotX, hotY);
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
