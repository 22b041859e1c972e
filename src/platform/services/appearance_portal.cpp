#include "platform/services/appearance_portal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPointer>

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");
const QString kAccent = QStringLiteral("accent-color");

// Nothing waits for the answer; the bound only keeps a portal that never
// answers from holding the call open. It allows for the portal being
// started by the bus alongside the session.
constexpr int kReplyTimeoutMs = 5000;

// Read wraps the value in one variant more than it says (ReadOne, which
// Debian 12's portal lacks, does not); unwrapping every level takes both.
QVariant Unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

class Listener final : public QObject {
    Q_OBJECT

public:
    Appearance heard;

    explicit Listener(QObject* parent) : QObject(parent)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        // The slot takes the whole message: Qt 6.4 turns down (connect gives
        // false) a first slot taking the value as a QDBusVariant.
        bus.connect(kService, kPath, kSettings, QStringLiteral("SettingChanged"), this,
            SLOT(Changed(QDBusMessage)));
        Ask(bus, kColorScheme);
        Ask(bus, kAccent); // GNOME 47 and later; an error before
    }

private slots:
    void Changed(const QDBusMessage& signal)
    {
        const QVariantList arguments = signal.arguments(); // namespace, key, value
        if (arguments.size() == 3 && arguments[0].toString() == kNamespace)
            Take(arguments[1].toString(), arguments[2]);
    }

private:
    void Ask(QDBusConnection& bus, const QString& key)
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(kService, kPath, kSettings, QStringLiteral("Read"));
        call << kNamespace << key;
        auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs), this);
        connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher* answered) {
                const QDBusMessage message = answered->reply();
                if (message.type() == QDBusMessage::ReplyMessage && !message.arguments().isEmpty())
                    Take(key, message.arguments().constFirst());
                answered->deleteLater();
            });
    }

    void Take(const QString& key, const QVariant& wrapped)
    {
        const QVariant value = Unwrapped(wrapped);
        if (key == kColorScheme) {
            heard.colorScheme.reset();
            if (value.metaType() == QMetaType::fromType<uint>())
                heard.colorScheme = value.toUInt();
        } else if (key == kAccent) {
            heard.accent.reset();
            if (value.metaType() != QMetaType::fromType<QDBusArgument>())
                return;
            const QDBusArgument rgb = value.value<QDBusArgument>();
            if (rgb.currentSignature() != QLatin1String("(ddd)"))
                return;
            std::array<double, 3> accent{};
            rgb.beginStructure();
            rgb >> accent[0] >> accent[1] >> accent[2];
            rgb.endStructure();
            heard.accent = accent;
        }
    }
};

} // namespace

const Appearance& PortalAppearance()
{
    static const Appearance nothing;
    static QPointer<Listener> listener; // goes with the application
    if (!listener && QCoreApplication::instance())
        listener = new Listener(QCoreApplication::instance());
    return listener ? listener->heard : nothing;
}

} // namespace platform

#include "appearance_portal.moc"
