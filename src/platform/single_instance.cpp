#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

int TakeLock(const QString& product, QString desktopKey)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    desktopKey.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString path = QStringLiteral("%1/%2-%3.lock").arg(folder, product, desktopKey);
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

bool PreviousInstance(const QString& product, const QString& desktopKey)
{
    static const int lock = TakeLock(product, desktopKey);
    return lock == 0;
}

} // namespace platform
