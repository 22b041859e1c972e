// Writes the window icon as PNG files for the desktop's icon theme, so the
// menu entry and the window show the same drawing.

#include "resources/icon.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SIZE FILE.png\n", argv[0]);
        return 2;
    }
    return resources::IconImage(QString::fromLocal8Bit(argv[1]).toInt())
               .save(QString::fromLocal8Bit(argv[2]))
        ? 0
        : 1;
}
