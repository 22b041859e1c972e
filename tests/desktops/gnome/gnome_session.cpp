#include "gnome_session.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {

const QString kWaylandDisplay = QStringLiteral("wayland-gnome");
const QString kExtension = QStringLiteral("tinctor-tests@vantrel.org");
const QString kShell = QStringLiteral("org.gnome.Shell");

// GSettings through the keyfile backend, so that nothing of the machine's
// dconf is read or written: the extension on; GNOME's own interface font,
// written out because the tests depend on it; no animations, so that windows
// are there at once; a solid background for the pick to read; no banners,
// since the shell announces the unsafe mode with one across the top.
constexpr char kSettings[] = R"([org/gnome/shell]
enabled-extensions=['tinctor-tests@vantrel.org']
disable-user-extensions=false

[org/gnome/desktop/interface]
font-name='Cantarell 11'
enable-animations=false

[org/gnome/desktop/background]
picture-uri=''
picture-uri-dark=''
picture-options='none'
primary-color='#336699'
color-shading-type='solid'

[org/gnome/desktop/notifications]
show-banners=false
)";

// Answers gnome-shell's calls to the system bus: gnome-shell 43 ends at
// start where /run/systemd/seats exists and no system bus answers, as in a
// container. Nothing is activated on it.
constexpr char kSystemBus[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)";

bool Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool WaitForFile(const QString& path, const QProcess& owner)
{
    const QDeadlineTimer deadline(5000);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired() || owner.state() != QProcess::Running)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The processes of one process group, as /proc lists them.
QList<pid_t> Group(qint64 group)
{
    QList<pid_t> members;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid pgrp ...", where comm may hold anything.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields[2].toLongLong() == group)
            members << pid;
    }
    return members;
}

QString Mounts()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    return mounts.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(mounts.readAll()) : QString();
}

} // namespace

GnomeSession::GnomeSession()
{
    if (!home_.isValid())
        return;
    runtime_ = home_.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime_);
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    bus_ = QStringLiteral("unix:path=") + runtime_ + QStringLiteral("/bus");
    systemBus_ = QStringLiteral("unix:path=") + home_.filePath(QStringLiteral("system_bus"));

    const QString extension
        = home_.filePath(QStringLiteral(".local/share/gnome-shell/extensions/") + kExtension);
    QDir().mkpath(extension);
    for (const char* file : {"metadata.json", "extension.js"}) {
        if (!QFile::copy(QStringLiteral(GNOME_EXTENSION_DIR "/") + QLatin1String(file),
                extension + QLatin1Char('/') + QLatin1String(file)))
            return;
    }
    // X11 programs take GTK's settings from XSETTINGS, which
    // gnome-settings-daemon serves on a full desktop; this file gives them
    // the same font. Pictures is where the portal saves its screenshots.
    if (!Write(home_.filePath(QStringLiteral(".config/glib-2.0/settings/keyfile")), kSettings)
        || !Write(home_.filePath(QStringLiteral(".config/gtk-3.0/settings.ini")),
            "[Settings]\ngtk-font-name=Cantarell 11\n")
        || !Write(home_.filePath(QStringLiteral(".config/user-dirs.dirs")),
            "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n")
        || !QDir(home_.path()).mkdir(QStringLiteral("Pictures")))
        return;
    // Tinctor's menu entry, as an installation leaves it. GLib passes over
    // an entry whose program is not on the PATH, as the built one is not.
    // The entry is D-Bus activatable: the session bus starts the program.
    QFile entry(QStringLiteral(TINCTOR_DESKTOP_ENTRY));
    QFile service(QStringLiteral(TINCTOR_BUS_SERVICE));
    if (!entry.open(QIODevice::ReadOnly)
        || !Write(home_.filePath(QStringLiteral(".local/share/applications/"))
                + QFileInfo(entry).fileName(),
            entry.readAll().replace("\nExec=tinctor\n", "\nExec=" TINCTOR_EXE "\n"))
        || !service.open(QIODevice::ReadOnly)
        || !Write(home_.filePath(QStringLiteral(".local/share/dbus-1/services/"))
                + QFileInfo(service).fileName(),
            service.readAll().replace("\nExec=tinctor\n", "\nExec=" TINCTOR_EXE "\n")))
        return;

    up_ = StartShell() && StartPortal();
}

GnomeSession::~GnomeSession()
{
    if (dbus_) {
        const QString name = dbus_->name();
        dbus_.reset();
        QDBusConnection::disconnectFromBus(name);
    }
    // The shell first, and Xwayland with it, then the buses, whose services
    // end with them.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        (*it)->terminate();
        if (!(*it)->waitForFinished(5000)) {
            (*it)->kill();
            (*it)->waitForFinished(3000);
        }
    }
    // Whatever a bus started and did not end is still in the session's group.
    if (group_ > 0) {
        for (const pid_t pid : Group(group_))
            ::kill(pid, SIGKILL);
    }
    // The document portal's file system goes with it, a moment later.
    const QDeadlineTimer deadline(3000);
    while (!runtime_.isEmpty() && Mounts().contains(runtime_) && !deadline.hasExpired())
        QThread::msleep(50);
}

QProcess& GnomeSession::Start(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& env, const QString& log)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(home_.filePath(log));
    // One process group for the whole session, led by the first process.
    const qint64 group = group_;
    process->setChildProcessModifier([group] {
        if (group == 0)
            ::setsid();
        else
            ::setpgid(0, static_cast<pid_t>(group));
    });
    process->start(program, arguments);
    process->waitForStarted(5000);
    if (group_ == 0)
        group_ = process->processId();
    processes_.push_back(std::move(process));
    return *processes_.back();
}

bool GnomeSession::StartShell()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), kWaylandDisplay);
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_);
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), systemBus_);

    // The services the session bus starts inherit its environment.
    const QProcess& bus = Start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"),
            QStringLiteral("--address=") + bus_},
        env, QStringLiteral("session-bus.log"));
    const QString systemConfig = home_.filePath(QStringLiteral("system-bus.conf"));
    if (!Write(systemConfig, QString::fromLatin1(kSystemBus).arg(systemBus_).toUtf8()))
        return false;
    const QProcess& systemBus = Start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + systemConfig}, env,
        QStringLiteral("system-bus.log"));
    if (!WaitForFile(bus_.mid(bus_.indexOf(QLatin1Char('=')) + 1), bus)
        || !WaitForFile(systemBus_.mid(systemBus_.indexOf(QLatin1Char('=')) + 1), systemBus))
        return false;
    dbus_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(bus_, QStringLiteral("gnome-session ") + home_.path()));

    const QProcess& shell = Start(QStringLiteral("gnome-shell"),
        {QStringLiteral("--headless"), QStringLiteral("--wayland"),
            QStringLiteral("--wayland-display=") + kWaylandDisplay,
            QStringLiteral("--virtual-monitor"), QStringLiteral("1920x1080"),
            QStringLiteral("--virtual-monitor"), QStringLiteral("1280x1024")},
        env, QStringLiteral("gnome-shell.log"));
    // Up once the shell has left its start-up overview and the extension
    // answers.
    const QDeadlineTimer deadline(30000);
    while (Eval(QStringLiteral("typeof TinctorTests === 'object' && "
                               "!Main.layoutManager._startingUp && !Main.overview.visible"))
        != QJsonValue(true)) {
        if (deadline.hasExpired() || shell.state() != QProcess::Running) {
            Show(QStringLiteral("gnome-shell.log"));
            return false;
        }
        QThread::msleep(100);
    }
    // Xwayland's display is mutter's to choose.
    const QJsonArray x11 = Eval(
        QStringLiteral("[imports.gi.GLib.getenv('DISPLAY'), imports.gi.GLib.getenv('XAUTHORITY')]"))
                               .toArray();
    xDisplay_ = x11.at(0).toString();
    xAuthority_ = x11.at(1).toString();
    return !xDisplay_.isEmpty();
}

bool GnomeSession::StartPortal()
{
    // What gnome-session would tell the bus for the services it starts.
    QDBusMessage update = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("UpdateActivationEnvironment"));
    qDBusRegisterMetaType<QMap<QString, QString>>();
    update << QVariant::fromValue(QMap<QString, QString>{
        {QStringLiteral("DISPLAY"), xDisplay_}, {QStringLiteral("XAUTHORITY"), xAuthority_}});
    if (dbus_->call(update).type() == QDBusMessage::ErrorMessage)
        return false;

    // GNOME asks once whether programs may take screenshots: the answer a
    // user would have given, where the portal keeps it. Programs outside a
    // sandbox have the empty app id.
    QDBusMessage grant = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.impl.portal.PermissionStore"),
        QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"),
        QStringLiteral("org.freedesktop.impl.portal.PermissionStore"),
        QStringLiteral("SetPermission"));
    grant << QStringLiteral("screenshot") << true << QStringLiteral("screenshot") << QString()
          << QStringList{QStringLiteral("yes")};
    if (dbus_->call(grant).type() == QDBusMessage::ErrorMessage)
        return false;

    // Started on the first call, as on the desktop; up once it offers its
    // screenshot, which the GNOME backend serves.
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        const QDBusMessage introspect = dbus_->call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"),
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
        if (introspect.arguments().value(0).toString().contains(
                QLatin1String("org.freedesktop.portal.Screenshot")))
            return true;
        QThread::msleep(200);
    }
    qWarning("the desktop portal offers no screenshot");
    Show(QStringLiteral("session-bus.log"));
    return false;
}

void GnomeSession::Show(const QString& log) const
{
    QFile told(home_.filePath(log));
    if (told.open(QIODevice::ReadOnly))
        qWarning("%s:\n%s", qPrintable(log), told.readAll().right(4000).constData());
}

QProcessEnvironment GnomeSession::Environment(const QString& qtPlatform) const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), kWaylandDisplay);
    env.insert(QStringLiteral("DISPLAY"), xDisplay_);
    env.insert(QStringLiteral("XAUTHORITY"), xAuthority_);
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qtPlatform);
    return env;
}

QJsonValue GnomeSession::Eval(const QString& script) const
{
    if (!dbus_)
        return QJsonValue::Undefined;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kShell, QStringLiteral("/org/gnome/Shell"), kShell, QStringLiteral("Eval"));
    call << script;
    const QDBusMessage reply = dbus_->call(call, QDBus::Block, 5000);
    const QList<QVariant> answer = reply.arguments();
    if (answer.size() != 2 || !answer[0].toBool()) {
        if (reply.type() == QDBusMessage::ReplyMessage)
            qWarning("%s: %s", qPrintable(script), qPrintable(answer.value(1).toString()));
        return QJsonValue::Undefined;
    }
    // JSON of any value; an array holds a bare number or string too.
    const QByteArray json = answer[1].toString().toUtf8();
    return QJsonDocument::fromJson('[' + json + ']').array().at(0);
}

QList<QRect> GnomeSession::Monitors() const
{
    QList<QRect> monitors;
    for (const QJsonValue& monitor : Eval(QStringLiteral("TinctorTests.monitors()")).toArray()) {
        const QJsonObject area = monitor.toObject();
        monitors << QRect(area[QLatin1String("x")].toInt(), area[QLatin1String("y")].toInt(),
            area[QLatin1String("width")].toInt(), area[QLatin1String("height")].toInt());
    }
    return monitors;
}

QList<GnomeSession::Window> GnomeSession::Windows(const QString& title) const
{
    QList<Window> windows;
    for (const QJsonValue& value : Eval(QStringLiteral("TinctorTests.windows()")).toArray()) {
        const QJsonObject window = value.toObject();
        if (window[QLatin1String("title")].toString() != title)
            continue;
        windows << Window{title,
            QRect(window[QLatin1String("x")].toInt(), window[QLatin1String("y")].toInt(),
                window[QLatin1String("width")].toInt(), window[QLatin1String("height")].toInt()),
            window[QLatin1String("focused")].toBool(), window[QLatin1String("x11")].toBool(),
            window[QLatin1String("app")].toString(), window[QLatin1String("minimized")].toBool()};
    }
    return windows;
}

bool GnomeSession::WaitForWindows(const QString& title, int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (Windows(title).size() == count)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

int GnomeSession::Covers() const
{
    const QList<QRect> monitors = Monitors();
    int covers = 0;
    for (const QJsonValue& value : Eval(QStringLiteral("TinctorTests.windows()")).toArray()) {
        const QJsonObject window = value.toObject();
        covers += monitors.contains(
            QRect(window[QLatin1String("x")].toInt(), window[QLatin1String("y")].toInt(),
                window[QLatin1String("width")].toInt(), window[QLatin1String("height")].toInt()));
    }
    return covers;
}

bool GnomeSession::Screenshot(const QRect& area, const QString& file) const
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(kShell, QStringLiteral("/org/gnome/Shell/Screenshot"),
            QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("ScreenshotArea"));
    call << area.x() << area.y() << area.width() << area.height() << false << file;
    return dbus_ && dbus_->call(call).arguments().value(0).toBool();
}

QString GnomeSession::LaunchToken() const
{
    return Eval(QStringLiteral("TinctorTests.launchToken()")).toString();
}

QStringList GnomeSession::AppActions(const QString& app) const
{
    QStringList names;
    for (const QJsonValue& name :
        Eval(QStringLiteral("TinctorTests.appActions('%1')").arg(app)).toArray())
        names << name.toString();
    return names;
}

void GnomeSession::ChooseAppAction(const QString& app, const QString& action) const
{
    Eval(QStringLiteral("TinctorTests.launchAppAction('%1', '%2')").arg(app, action));
}

void GnomeSession::Minimise(const QString& title) const
{
    Eval(QStringLiteral("TinctorTests.minimize('%1')").arg(title));
}

void GnomeSession::MoveTo(QPointF at) const
{
    Eval(QStringLiteral("TinctorTests.move(%1, %2)").arg(at.x()).arg(at.y()));
    QThread::msleep(100);
}

void GnomeSession::Click(Qt::MouseButton button) const
{
    const int number = button == Qt::RightButton ? 3 : button == Qt::MiddleButton ? 2 : 1;
    for (const char* pressed : {"true", "false"}) {
        Eval(QStringLiteral("TinctorTests.button(%1, %2)").arg(number).arg(QLatin1String(pressed)));
        QThread::msleep(40);
    }
}

void GnomeSession::Chord(std::initializer_list<int> keys) const
{
    const auto send = [this](int key, bool pressed) {
        Eval(QStringLiteral("TinctorTests.key(%1, %2)")
                 .arg(key)
                 .arg(pressed ? QLatin1String("true") : QLatin1String("false")));
        // A key at a time, as a hand types: a burst can outrun the client.
        QThread::msleep(40);
    };
    for (const int key : keys)
        send(key, true);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        send(*it, false);
}
