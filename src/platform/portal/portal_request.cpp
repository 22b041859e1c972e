#include "platform/portal/portal_request.h"

#include "resources/version.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QTimer>

namespace platform::portal {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// Takes the Response signal of one request.
class ResponseCatcher : public QObject {
    Q_OBJECT

public:
    bool answered = false;
    Response response;

signals:
    void Answered();

public slots:
    void Take(uint code, const QVariantMap& results)
    {
        answered = true;
        response = {code, results};
        emit Answered();
    }
};

void Listen(QDBusConnection& bus, const QString& path, ResponseCatcher& catcher)
{
    bus.connect(kService, path, kRequest, QStringLiteral("Response"), &catcher,
        SLOT(Take(uint, QVariantMap)));
}

void StopListening(QDBusConnection& bus, const QString& path, ResponseCatcher& catcher)
{
    bus.disconnect(kService, path, kRequest, QStringLiteral("Response"), &catcher,
        SLOT(Take(uint, QVariantMap)));
}

} // namespace

Response CallPortal(const QString& interface, const QString& method, const QString& parentWindow,
    QVariantMap options, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {};

    // The request's path follows from our bus name and a token of our
    // choosing. Listening there before the call means a portal that answers
    // at once is not missed.
    static int serial = 0;
    const QString token = QString::fromLatin1(resources::kProductName) + QString::number(++serial);
    options.insert(QStringLiteral("handle_token"), token);
    const QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected
        = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    ResponseCatcher catcher;
    Listen(bus, expected, catcher);

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call << parentWindow << options;
    // A portal that is not running is started by the bus; one that cannot
    // be is an error here, soon.
    const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        StopListening(bus, expected, catcher);
        return {};
    }
    // Portals older than the token answer on a path of their own.
    QString handle = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (handle.isEmpty())
        handle = expected;
    if (handle != expected)
        Listen(bus, handle, catcher);

    if (!catcher.answered) {
        QEventLoop wait;
        QObject::connect(&catcher, &ResponseCatcher::Answered, &wait, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    StopListening(bus, expected, catcher);
    if (handle != expected)
        StopListening(bus, handle, catcher);
    if (!catcher.answered) {
        // Given up on: the desktop's dialog must not stay behind.
        bus.call(
            QDBusMessage::createMethodCall(kService, handle, kRequest, QStringLiteral("Close")),
            QDBus::NoBlock);
        return {};
    }
    return catcher.response;
}

} // namespace platform::portal

#include "portal_request.moc"
