// Saves one X window as a PNG: the README's screenshot is made with it.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WINDOW-ID FILE.png\n", argv[0]);
        return 2;
    }
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(nullptr, 0);
    const QPixmap shot = app.primaryScreen()->grabWindow(window);
    return !shot.isNull() && shot.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
