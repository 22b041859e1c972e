#include "kde_session.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kKWin = QStringLiteral("org.kde.KWin");

bool WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A desktop entry that lets `program` use these of KWin's privileged
// interfaces: KWin matches a client to the entry by its executable.
QByteArray Entry(const QString& program, const char* key, const char* interfaces)
{
    return "[Desktop Entry]\nType=Application\nName=" + QFileInfo(program).fileName().toUtf8()
        + "\nExec=" + QFileInfo(program).canonicalFilePath().toUtf8() + "\nNoDisplay=true\n" + key
        + '=' + interfaces + '\n';
}

QDBusMessage Call(const QDBusConnection& bus, const QString& service, const QString& path,
    const QString& interface, const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, 10000);
}

QRect RectOf(const QJsonValue& value)
{
    const QJsonObject rect = value.toObject();
    return QRect(qRound(rect.value(QStringLiteral("x")).toDouble()),
        qRound(rect.value(QStringLiteral("y")).toDouble()),
        qRound(rect.value(QStringLiteral("width")).toDouble()),
        qRound(rect.value(QStringLiteral("height")).toDouble()));
}

bool WaitForName(const QDBusConnection& bus, const QString& name)
{
    const QDeadlineTimer deadline(15000);
    while (!bus.interface()->isServiceRegistered(name)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace

KdeSession::KdeSession(const QStringList& launchers, const QString& tinctor)
{
    if (!home_.isValid())
        return;
    runtime_ = home_.filePath(QStringLiteral("run"));
    const QString applications = home_.filePath(QStringLiteral("share/applications"));
    for (const QString& folder : {runtime_, applications, Pictures(),
             home_.filePath(QStringLiteral(".config")), home_.filePath(QStringLiteral("bin"))})
        QDir().mkpath(folder);
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString busConfig = home_.filePath(QStringLiteral("bus.conf"));
    const QString kwin = home_.filePath(QStringLiteral("bin/kwin_wayland"));
    const QString report = home_.filePath(QStringLiteral("bin/report-display"));
    const QString displayFile = home_.filePath(QStringLiteral("display"));
    // A bus with no service folders activates nothing: whatever runs on it
    // was started here.
    bool written = WriteText(busConfig,
                       "<busconfig><type>session</type><listen>unix:path="
                           + QFile::encodeName(runtime_) + "/bus</listen><auth>EXTERNAL</auth>"
                           + "<policy context=\"default\"><allow send_destination=\"*\" "
                             "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow "
                             "own=\"*\"/></policy></busconfig>\n")
        // Plasma's face at the larger size many users choose; no animations,
        // so that a window is where KWin says at once.
        && WriteText(home_.filePath(QStringLiteral(".config/kdeglobals")),
            "[General]\nfont=Noto Sans,11,-1,5,50,0,0,0,0,0\n[KDE]\nAnimationDurationFactor=0\n")
        && WriteText(applications + QStringLiteral("/tinctor-tests.desktop"),
            Entry(QCoreApplication::applicationFilePath(), "X-KDE-DBUS-Restricted-Interfaces",
                "org.kde.KWin.ScreenShot2"))
        && WriteText(applications + QStringLiteral("/tinctor-tests-input.desktop"),
            Entry(QStringLiteral(KWIN_INPUT_EXE), "X-KDE-Wayland-Interfaces",
                "org_kde_kwin_fake_input"))
        && WriteText(
            report, "#!/bin/sh\necho \"$DISPLAY\" > '" + QFile::encodeName(displayFile) + "'\n")
        && QFile::setPermissions(report, QFile::ReadOwner | QFile::ExeOwner)
        // Debian's kwin_wayland carries a file capability (cap_sys_resource),
        // which a container may not grant: the exec fails. A copy has none.
        && QFile::copy(QStringLiteral("/usr/bin/kwin_wayland"), kwin);
    // Plasma's launcher has its tokens trusted because it may manage windows.
    for (int i = 0; i < launchers.size(); ++i)
        written = written
            && WriteText(applications + QStringLiteral("/tinctor-tests-launcher-%1.desktop").arg(i),
                Entry(
                    launchers[i], "X-KDE-Wayland-Interfaces", "org_kde_plasma_window_management"));
    if (!tinctor.isEmpty()) {
        QFile entry(QStringLiteral(TINCTOR_DESKTOP_ENTRY));
        written = written && entry.open(QIODevice::ReadOnly)
            && WriteText(applications + QStringLiteral("/org.vantrel.Tinctor.desktop"),
                entry.readAll().replace("\nExec=tinctor\n",
                    "\nExec=" + QFileInfo(tinctor).canonicalFilePath().toUtf8() + '\n'));
    }
    if (!written)
        return;

    QProcess& bus = *processes_.emplace_back(std::make_unique<QProcess>());
    QByteArray address;
    if (Start(bus, QStringLiteral("dbus-daemon"),
            {QStringLiteral("--config-file=") + busConfig, QStringLiteral("--nofork"),
                QStringLiteral("--print-address")})) {
        while (!address.contains('\n') && bus.waitForReadyRead(5000))
            address += bus.readAllStandardOutput();
    }
    bus_ = QString::fromUtf8(address.trimmed());
    if (bus_.isEmpty())
        return;
    connection_ = QStringLiteral("kde-session-%1").arg(reinterpret_cast<quintptr>(this));
    const QDBusConnection session = QDBusConnection::connectToBus(bus_, connection_);

    if (!Start(*processes_.emplace_back(std::make_unique<QProcess>()), kwin,
            {QStringLiteral("--virtual"), QStringLiteral("--xwayland"), QStringLiteral("--socket"),
                QStringLiteral("wayland-kde"), QStringLiteral("--width"), QStringLiteral("1920"),
                QStringLiteral("--height"), QStringLiteral("1080"),
                QStringLiteral("--output-count"), QStringLiteral("2"), report},
            QStringLiteral("kwin.log")))
        return;
    // KWin starts what follows its options once Xwayland is up.
    const QDeadlineTimer deadline(20000);
    while (xDisplay_.isEmpty() && !deadline.hasExpired()) {
        QFile told(displayFile);
        if (told.open(QIODevice::ReadOnly))
            xDisplay_ = QString::fromLocal8Bit(told.readAll()).trimmed();
        QThread::msleep(50);
    }
    if (xDisplay_.isEmpty()) {
        QFile log(home_.filePath(QStringLiteral("kwin.log")));
        if (log.open(QIODevice::ReadOnly))
            qWarning("KWin did not come up:\n%s", log.readAll().right(4000).constData());
        return;
    }

    if (!Start(*processes_.emplace_back(std::make_unique<QProcess>()),
            QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
            {QStringLiteral("--launch-immediately")}, QStringLiteral("at-spi.log"))
        || !WaitForName(session, QStringLiteral("org.a11y.Bus")) || !StartPortal())
        return;

    input_ = processes_.emplace_back(std::make_unique<QProcess>()).get();
    if (!Start(*input_, QStringLiteral(KWIN_INPUT_EXE)))
        return;
    QByteArray said;
    while (!said.contains("ready") && input_->waitForReadyRead(5000))
        said += input_->readAllStandardOutput();
    up_ = said.contains("ready");
    if (!up_)
        qWarning("KWin refused the test input: %s", input_->readAllStandardError().constData());
}

KdeSession::~KdeSession()
{
    if (!connection_.isEmpty()) {
        QDBusConnection::disconnectFromBus(connection_ + QStringLiteral("-a11y"));
        QDBusConnection::disconnectFromBus(connection_);
    }
    // KWin ends its Xwayland, and the accessibility bus's launcher its bus.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& process = **it;
        if (process.state() == QProcess::NotRunning)
            continue;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
}

bool KdeSession::Start(
    QProcess& process, const QString& program, const QStringList& arguments, const QString& log)
{
    QProcessEnvironment env = Environment();
    // KWin is a Qt program that must choose its own platform.
    if (program.endsWith(QLatin1String("kwin_wayland"))) {
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    process.setProcessEnvironment(env);
    // A suite that crashes takes its desktop with it.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    if (!log.isEmpty()) {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(home_.filePath(log));
    }
    process.start(program, arguments);
    return process.waitForStarted(5000);
}

bool KdeSession::StartPortal()
{
    const QDBusConnection session(connection_);
    // The backend first, so that the portal finds it; with no activation on
    // the bus, a portal that came up alone would offer no screenshot.
    if (!Start(*processes_.emplace_back(std::make_unique<QProcess>()),
            QStringLiteral(PORTAL_KDE_EXE), {}, QStringLiteral("portal-kde.log"))
        || !WaitForName(session, QStringLiteral("org.freedesktop.impl.portal.desktop.kde"))
        || !SetPortal(true))
        return false;
    const QString introspection = Call(session, QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"))
                                      .arguments()
                                      .value(0)
                                      .toString();
    if (introspection.contains(QLatin1String("org.freedesktop.portal.Screenshot")))
        return true;
    qWarning("the desktop portal offers no screenshot");
    return false;
}

bool KdeSession::SetPortal(bool up)
{
    if (!portal_)
        portal_ = processes_.emplace_back(std::make_unique<QProcess>()).get();
    if (!up) {
        if (portal_->state() == QProcess::NotRunning)
            return true;
        portal_->terminate();
        return portal_->waitForFinished(5000);
    }
    return portal_->state() == QProcess::Running
        || (Start(*portal_, QStringLiteral("/usr/libexec/xdg-desktop-portal"), {},
                QStringLiteral("portal.log"))
            && WaitForName(
                QDBusConnection(connection_), QStringLiteral("org.freedesktop.portal.Desktop")));
}

QProcessEnvironment KdeSession::Environment(const QString& qtPlatform) const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"),
        home_.filePath(QStringLiteral("share")) + QStringLiteral(":/usr/local/share:/usr/share"));
    // What Plasma's session sets, and what makes Qt take its KDE theme.
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
    env.insert(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));
    env.insert(QStringLiteral("KDE_FULL_SESSION"), QStringLiteral("true"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_);
    // The accessibility bus's launcher would ask dconf, which nothing serves.
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-kde"));
    if (!xDisplay_.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), xDisplay_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qtPlatform);
    return env;
}

QJsonValue KdeSession::Script(const QString& expression) const
{
    static int scripts = 0;
    const QString name = QStringLiteral("tinctor-query-%1").arg(++scripts);
    const QString path = home_.filePath(name + QStringLiteral(".js"));
    if (!WriteText(path,
            "print(\"" + name.toUtf8() + " \" + JSON.stringify(" + expression.toUtf8() + "));\n"))
        return {};
    const QDBusConnection session(connection_);
    const QString scripting = QStringLiteral("org.kde.kwin.Scripting");
    const QVariant id = Call(session, kKWin, QStringLiteral("/Scripting"), scripting,
        QStringLiteral("loadScript"), {path, name})
                            .arguments()
                            .value(0);
    // Its run answers once the script has run.
    Call(session, kKWin, QLatin1Char('/') + id.toString(), QStringLiteral("org.kde.kwin.Script"),
        QStringLiteral("run"));
    Call(session, kKWin, QStringLiteral("/Scripting"), scripting, QStringLiteral("unloadScript"),
        {name});
    QFile::remove(path);
    // What a script prints goes to KWin's log, which is written as it runs.
    QFile log(home_.filePath(QStringLiteral("kwin.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = log.readAll();
    const qsizetype at = text.lastIndexOf(name.toUtf8() + ' ');
    if (at < 0)
        return {};
    const qsizetype start = at + name.size() + 1;
    const QByteArray json = "[" + text.mid(start, text.indexOf('\n', start) - start) + "]";
    return QJsonDocument::fromJson(json).array().first();
}

QList<KdeSession::Window> KdeSession::Windows(const QString& caption) const
{
    const QJsonArray listed
        = Script(QStringLiteral(
                     "workspace.clientList().map(function (w) { return {caption: w.caption, appId: "
                     "w.desktopFileName, frame: w.frameGeometry, inside: w.bufferGeometry, active: "
                     "w.active, "
                     "fullScreen: w.fullScreen, demandsAttention: w.demandsAttention}; })"))
              .toArray();
    QList<Window> windows;
    for (const QJsonValue& value : listed) {
        const QJsonObject listing = value.toObject();
        Window window;
        window.caption = listing.value(QStringLiteral("caption")).toString();
        window.appId = listing.value(QStringLiteral("appId")).toString();
        window.frame = RectOf(listing.value(QStringLiteral("frame")));
        window.inside = RectOf(listing.value(QStringLiteral("inside")));
        window.active = listing.value(QStringLiteral("active")).toBool();
        window.fullScreen = listing.value(QStringLiteral("fullScreen")).toBool();
        window.demandsAttention = listing.value(QStringLiteral("demandsAttention")).toBool();
        if (caption.isEmpty() || window.caption == caption)
            windows << window;
    }
    return windows;
}

bool KdeSession::WaitForWindows(const QString& caption, int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (Windows(caption).size() == count)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

int KdeSession::FullScreenWindows() const
{
    int full = 0;
    for (const Window& window : Windows())
        full += window.fullScreen;
    return full;
}

QImage KdeSession::Grab(const QRect& area) const
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return {};
    QDBusMessage message
        = QDBusMessage::createMethodCall(kKWin, QStringLiteral("/org/kde/KWin/ScreenShot2"),
            QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureArea"));
    message << area.x() << area.y() << uint(area.width()) << uint(area.height()) << QVariantMap()
            << QVariant::fromValue(QDBusUnixFileDescriptor(pipe[1]));
    ::close(pipe[1]);
    // The pending call holds a copy of the pipe's end until it is gone, so
    // the image ends where its size says, not at the end of the pipe.
    const QDBusPendingCall call = QDBusConnection(connection_).asyncCall(message, 10000);
    QByteArray pixels;
    qsizetype expected = -1;
    const QDeadlineTimer deadline(10000);
    while ((expected < 0 || pixels.size() < expected) && !deadline.hasExpired()) {
        pollfd readable{pipe[0], POLLIN, 0};
        if (::poll(&readable, 1, 50) > 0) {
            char buffer[65536];
            const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
            if (got <= 0)
                break;
            pixels.append(buffer, got);
        }
        if (expected < 0 && call.isFinished() && !call.isError()) {
            const QVariantMap shot = QDBusPendingReply<QVariantMap>(call).value();
            expected = qsizetype(shot.value(QStringLiteral("stride")).toUInt())
                * shot.value(QStringLiteral("height")).toInt();
        }
    }
    ::close(pipe[0]);
    if (expected < 0 || pixels.size() < expected)
        return {};
    const QVariantMap shot = QDBusPendingReply<QVariantMap>(call).value();
    return QImage(reinterpret_cast<const uchar*>(pixels.constData()),
        shot.value(QStringLiteral("width")).toInt(), shot.value(QStringLiteral("height")).toInt(),
        shot.value(QStringLiteral("stride")).toInt(),
        QImage::Format(shot.value(QStringLiteral("format")).toInt()))
        .copy();
}

void KdeSession::Input(const QByteArray& line) const
{
    input_->write(line + '\n');
    input_->waitForBytesWritten(3000);
}

void KdeSession::MoveTo(QPointF at, int settleMs) const
{
    // Fake input's positions are fixed point, in 256ths of a pixel.
    Input("move " + QByteArray::number(qRound(at.x() * 256)) + ' '
        + QByteArray::number(qRound(at.y() * 256)));
    QThread::msleep(settleMs);
}

void KdeSession::ClickHere(Qt::MouseButton button) const
{
    const int code = button == Qt::RightButton ? BTN_RIGHT
        : button == Qt::MiddleButton           ? BTN_MIDDLE
                                               : BTN_LEFT;
    for (const int pressed : {1, 0}) {
        Input("click " + QByteArray::number(code) + ' ' + QByteArray::number(pressed));
        QThread::msleep(40);
    }
}

void KdeSession::Chord(std::initializer_list<int> keys) const
{
    // A key at a time, as a hand types: a burst can outrun the client.
    for (const int key : keys) {
        Input("press " + QByteArray::number(key));
        QThread::msleep(40);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        Input("release " + QByteArray::number(*it));
        QThread::msleep(40);
    }
}

QList<KdeSession::Control> KdeSession::Controls(qint64 pid) const
{
    const QString address = Call(QDBusConnection(connection_), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("GetAddress"))
                                .arguments()
                                .value(0)
                                .toString();
    if (address.isEmpty())
        return {};
    const QDBusConnection a11y
        = QDBusConnection::connectToBus(address, connection_ + QStringLiteral("-a11y"));
    QString program;
    for (const QString& name : a11y.interface()->registeredServiceNames().value()) {
        if (name.startsWith(QLatin1Char(':')) && a11y.interface()->servicePid(name).value() == pid)
            program = name;
    }
    if (program.isEmpty())
        return {};

    const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
    const auto children = [&](const QString& path) {
        QStringList paths;
        const QDBusArgument listed = qvariant_cast<QDBusArgument>(
            Call(a11y, program, path, accessible, QStringLiteral("GetChildren"))
                .arguments()
                .value(0));
        listed.beginArray();
        while (!listed.atEnd()) {
            QString service;
            QDBusObjectPath child;
            listed.beginStructure();
            listed >> service >> child;
            listed.endStructure();
            paths << child.path();
        }
        listed.endArray();
        return paths;
    };
    QList<Control> controls;
    QList<QPoint> origins; // each control's window's corner
    // Paths still to read, each with its parent's index: the windows first.
    QList<std::pair<QString, int>> pending;
    for (const QString& window : children(QStringLiteral("/org/a11y/atspi/accessible/root")))
        pending.append({window, -1});
    while (!pending.isEmpty()) {
        const auto [path, parent] = pending.takeFirst();
        Control control;
        control.parent = parent;
        control.role = Call(a11y, program, path, accessible, QStringLiteral("GetRoleName"))
                           .arguments()
                           .value(0)
                           .toString();
        control.name = qvariant_cast<QDBusVariant>(
            Call(a11y, program, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("Get"), {accessible, QStringLiteral("Name")})
                .arguments()
                .value(0))
                           .variant()
                           .toString();
        // On the screen: Qt's places in a window are off under X11.
        const uint onScreen = 0;
        const QDBusArgument extents = qvariant_cast<QDBusArgument>(
            Call(a11y, program, path, QStringLiteral("org.a11y.atspi.Component"),
                QStringLiteral("GetExtents"), {QVariant::fromValue(onScreen)})
                .arguments()
                .value(0));
        int x = 0, y = 0, width = 0, height = 0;
        extents.beginStructure();
        extents >> x >> y >> width >> height;
        extents.endStructure();
        control.extents = QRect(x, y, width, height);
        origins << (parent < 0 ? control.extents.topLeft() : origins[parent]);
        if (parent >= 0)
            control.extents.translate(-origins.last());
        controls << control;
        // A menu's entries are no part of the window until it opens.
        if (control.role == QLatin1String("menu item"))
            continue;
        for (const QString& child : children(path))
            pending.append({child, int(controls.size()) - 1});
    }
    return controls;
}
