// Makes the picture of the loupe for the README from the built program: a
// pick on a headless Wayland desktop with the desktop portal, the pointer
// on the corner of two swatches, and the part of the screen around it.
// Usage: grab_loupe TINCTOR OUT.png

#include "wayland_session.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <linux/input-event-codes.h>

namespace {

// The pointer's place in the window's inside, and the part of the screen
// shown around it: the loupe lies below and to the right of the pointer.
constexpr QPointF kPointer{131.5, 69.5};
constexpr QRect kAround{-40, -40, 200, 205};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: grab_loupe TINCTOR OUT.png\n");
        return 2;
    }
    WaylandSession::Options options;
    options.outputs = {{800, 600, 1.0}};
    options.portal = true;
    WaylandSession desktop(options);
    if (!desktop.IsUp()) {
        std::fprintf(stderr, "sway or the desktop portal did not start\n");
        return 1;
    }
    QTemporaryDir folder;
    const QString program = WaylandSession::InstallShared(folder.path(),
        QString::fromLocal8Bit(argv[1]), "[Color]\nMode=0\nRGB=1\nRed=230\nGreen=120\nBlue=40\n");

    QProcess tinctor;
    desktop.StartClient(tinctor, program);
    if (!desktop.WaitForWindows(QStringLiteral("Tinctor"), 1)) {
        std::fprintf(stderr, "Tinctor did not show its window\n");
        return 1;
    }
    const QRect inside = WaylandSession::Inside(desktop.Windows(QStringLiteral("Tinctor")).first());
    desktop.Chord({KEY_LEFTALT, KEY_E});
    desktop.Chord({KEY_P});
    for (int i = 0; i < 100 && desktop.FullScreenWindows() == 0; ++i)
        QThread::msleep(100);
    QThread::msleep(400);
    const QPointF at = QPointF(inside.topLeft()) + kPointer;
    desktop.MoveTo(at, 300);

    const QImage picture = desktop.Grab(kAround.translated(at.toPoint()));
    desktop.Chord({KEY_ESC});
    tinctor.terminate();
    tinctor.waitForFinished(5000);

    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "no picture was taken\n");
        return 1;
    }
    std::printf("wrote %s\n", argv[2]);
    return 0;
}
