#include "platform/desktop/copy_channel.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/single_instance.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// False for a path longer than a socket address holds.
bool Address(const QString& path, sockaddr_un& address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

// One line from a caller, read with a deadline: a caller that connects and
// says nothing must not hold the window up.
QString ReadLine(int fd)
{
    const timeval second{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &second, sizeof second);
    QByteArray line;
    char buffer[512];
    while (line.size() < 4096 && !line.contains('\n')) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        line.append(buffer, got);
    }
    return QString::fromUtf8(line.left(line.indexOf('\n'))).trimmed();
}

} // namespace

void ListenForLaterCopies(
    const QString& product, const QString& desktopKey, std::function<void(const QString&)> arrived)
{
    sockaddr_un address;
    if (!Address(InstanceSocketPath(product, desktopKey), address) || !QCoreApplication::instance())
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    // Whoever holds the lock owns the name: a socket left by a copy that
    // crashed is stale.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::listen(fd, 4) != 0) {
        ::close(fd);
        return; // later copies then end without bringing this one forward
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [fd, arrived] {
        const int caller = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (caller < 0)
            return;
        const QString token = ReadLine(caller);
        ::close(caller);
        arrived(token);
    });
}

QString LaunchersToken()
{
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

bool CallRunningCopy(const QString& product, const QString& desktopKey)
{
    return CallRunningCopy(product, desktopKey, LaunchersToken());
}

bool CallRunningCopy(const QString& product, const QString& desktopKey, const QString& token)
{
    sockaddr_un address;
    if (!Address(InstanceSocketPath(product, desktopKey), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (answered) {
        const QByteArray line = token.toUtf8() + '\n';
        answered
            = ::write(fd, line.constData(), static_cast<std::size_t>(line.size())) == line.size();
    }
    ::close(fd);
    return answered;
}

void BringThisCopyForward(const QString& product, const QString& token)
{
    QWidget* front = QApplication::activeModalWidget();
    if (!front) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == product)
                front = window;
        }
    }
    if (!front)
        return;
    // Qt's Wayland plugin hands the token to the compositor with the
    // activation request, and uses it up.
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    if (front->isMinimized())
        front->showNormal();
    front->raise();
    front->activateWindow();
}

void Desktop::ComeForward(const QString& product, const QString& token)
{
    BringThisCopyForward(product, token);
}

} // namespace platform
