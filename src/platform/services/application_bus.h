#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtDBus/QDBusContext>

#include <functional>

namespace platform {

// The desktop's standard door to a running program, org.freedesktop.Application,
// on the session bus under the name of the program's desktop entry: the
// launcher's context menu and a desktop's custom shortcuts reach the program
// through it. Activate and the named actions arrive with the launcher's
// activation token (empty where none came); they run once the call has been
// answered, never inside it. Unknown actions, parameters where none are
// taken, and opening files are refused with a D-Bus error.
class ApplicationBus final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    using Activated = std::function<void(const QString& token)>;
    using ActionRun = std::function<void(const QString& token)>;

    // Owns `busName` and serves the interface at `objectPath` from here on;
    // false where the bus or the name cannot be had, which leaves the
    // program as it is.
    bool Serve(const QString& busName, const QString& objectPath, Activated activate);
    void AddAction(const QString& name, ActionRun run);

public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    Q_SCRIPTABLE void ActivateAction(
        const QString& name, const QVariantList& parameter, const QVariantMap& platformData);

private:
    Activated activate_;
    QHash<QString, ActionRun> actions_;
};

} // namespace platform
