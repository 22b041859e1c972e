#include "platform/services/application_bus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QTimer>

namespace platform {

namespace {

// The launcher's token, by the name a newer launcher or an X11 one gives it.
QString TokenOf(const QVariantMap& platformData)
{
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    if (!token.isEmpty())
        return token;
    return platformData.value(QStringLiteral("desktop-startup-id")).toString();
}

// After the reply: an action may run a loop of its own (a pick), which the
// caller must not wait for.
void Later(QObject* context, std::function<void()> work)
{
    QTimer::singleShot(0, context, std::move(work));
}

} // namespace

bool ApplicationBus::Serve(const QString& busName, const QString& objectPath, Activated activate)
{
    activate_ = std::move(activate);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    // Never queued behind another owner: the name is this copy's or none's.
    const auto owned = bus.interface()->registerService(busName,
        QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (owned.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(objectPath);
        return false;
    }
    return true;
}

void ApplicationBus::AddAction(const QString& name, ActionRun run)
{
    actions_.insert(name, std::move(run));
}

void ApplicationBus::Activate(const QVariantMap& platformData)
{
    if (activate_)
        Later(this, [this, token = TokenOf(platformData)] { activate_(token); });
}

void ApplicationBus::Open(const QStringList&, const QVariantMap&)
{
    sendErrorReply(QDBusError::NotSupported, QStringLiteral("Tinctor opens no files"));
}

void ApplicationBus::ActivateAction(
    const QString& name, const QVariantList& parameter, const QVariantMap& platformData)
{
    const auto action = actions_.constFind(name);
    if (action == actions_.constEnd()) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No action named %1").arg(name));
        return;
    }
    if (!parameter.isEmpty()) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("%1 takes no parameter").arg(name));
        return;
    }
    Later(this, [run = *action, token = TokenOf(platformData)] { run(token); });
}

} // namespace platform
