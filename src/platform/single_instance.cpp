#include "platform/single_instance.h"

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>

#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// Copies on different displays, or under different users, are not rivals.
QString DisplayKey()
{
    QString key = QGuiApplication::platformName();
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
        key += QString::fromLocal8Bit(DisplayString(x11->display()));
    key.replace(QLatin1Char('/'), QLatin1Char('_'));
    return key;
}

int TakeLock(const QString& product)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QString path = QStringLiteral("%1/%2-%3.lock").arg(folder, product, DisplayKey());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1; // no lock can be had: better two copies than none
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return 0;
    }
    return fd; // held open, and so locked, until the process ends
}

} // namespace

bool PreviousInstance(const QString& product)
{
    static const int lock = TakeLock(product);
    return lock == 0;
}

} // namespace platform
