#include "platform/desktop/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

QString InstanceFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

int TakeLock(const QString& product, QString desktopKey)
{
    desktopKey.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString path = QStringLiteral("%1/%2-%3.lock").arg(InstanceFolder(), product, desktopKey);
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

QString InstanceSocketPath(const QString& product, const QString& desktopKey)
{
    const QByteArray digest
        = QCryptographicHash::hash(desktopKey.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("%1/%2-%3.sock").arg(InstanceFolder(), product, QLatin1String(digest));
}

bool PreviousInstance(const QString& product, const QString& desktopKey)
{
    static const int lock = TakeLock(product, desktopKey);
    return lock == 0;
}

} // namespace platform
