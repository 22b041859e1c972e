#include "wayland_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

#include <csignal>
#include <functional>
#include <linux/input-event-codes.h>
#include <pwd.h>
#include <unistd.h>

namespace {

bool Root()
{
    return ::getuid() == 0;
}

// The user sway runs as: "nobody" under root, else whoever runs the tests.
void Own(const QString& path)
{
    if (!Root())
        return;
    if (const passwd* nobody = ::getpwnam("nobody")) [[maybe_unused]]
        const int changed
            = ::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid);
}

// Client windows alone carry a "shell"; workspaces have a full-screen mode too.
void CollectWindows(const QJsonObject& node, const std::function<bool(const QJsonObject&)>& wanted,
    QList<QJsonObject>& found)
{
    if (node.contains(QStringLiteral("shell")) && wanted(node))
        found << node;
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
            CollectWindows(child.toObject(), wanted, found);
    }
}

// An Xcursor file of one transparent pixel.
QByteArray BlankCursor()
{
    QByteArray file;
    const auto put = [&file](quint32 v) {
        for (int i = 0; i < 4; ++i)
            file.append(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    constexpr quint32 kImage = 0xFFFD0002;
    for (quint32 v : {0x72756358u, 16u, 0x10000u, 1u}) // "Xcur", header, version, one entry
        put(v);
    for (quint32 v : {kImage, 24u, 28u})
        put(v);
    for (quint32 v : {36u, kImage, 24u, 1u, 1u, 1u, 0u, 0u, 0u, 0u})
        put(v);
    return file;
}

QString ReadBack(const QString& path)
{
    QFile answer(path);
    if (!answer.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(answer.readAll()).trimmed();
}

} // namespace

WaylandSession::WaylandSession(const Options& options) : session_(std::make_unique<QProcess>())
{
    if (!home_.isValid())
        return;
    runtime_ = home_.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime_);
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(home_.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther);
    Own(home_.path());
    Own(runtime_);

    // A solid background, so that a screenshot shows what lies on it.
    const QString config = home_.filePath(QStringLiteral("config"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("output * bg #336699 solid_color\n"
               "xwayland enable\n"
               "focus_on_window_activation focus\n");
    outputs_ = options.outputs.size();
    double x = 0;
    for (int i = 0; i < options.outputs.size(); ++i) {
        const Output& output = options.outputs[i];
        file.write(QStringLiteral("output HEADLESS-%1 resolution %2x%3 position %4 0 scale %5\n")
                       .arg(i + 1)
                       .arg(output.width)
                       .arg(output.height)
                       .arg(qRound(x))
                       .arg(output.scale)
                       .toUtf8());
        const QSize logical(
            qRound(output.width / output.scale), qRound(output.height / output.scale));
        layout_ |= QRect(QPoint(qRound(x), 0), logical);
        x += logical.width();
    }
    if (options.outputs.size() > 1)
        file.write("output HEADLESS-2 bg #993366 solid_color\n");
    if (options.portal) {
        const QString cursors = home_.filePath(QStringLiteral(".icons/blank/cursors"));
        QDir().mkpath(cursors);
        for (const char* name : {"default", "left_ptr"}) {
            QFile cursor(cursors + QLatin1Char('/') + QLatin1String(name));
            if (cursor.open(QIODevice::WriteOnly))
                cursor.write(BlankCursor());
        }
        file.write("seat * xcursor_theme blank 24\n");
    }
    file.close();
    Own(config);

    QStringList command = AsSessionUser();
    command << QStringLiteral("env") << QStringLiteral("-i")
            << QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin")
            << QStringLiteral("HOME=") + home_.path()
            << QStringLiteral("XDG_RUNTIME_DIR=") + runtime_
            << QStringLiteral("WLR_BACKENDS=headless") << QStringLiteral("WLR_RENDERER=pixman")
            << QStringLiteral("WLR_LIBINPUT_NO_DEVICES=1")
            << QStringLiteral("WLR_HEADLESS_OUTPUTS=%1").arg(options.outputs.size())
            << QStringLiteral("XCURSOR_THEME=")
            + (options.portal ? QStringLiteral("blank") : QString())
            << QStringLiteral("dbus-run-session") << QStringLiteral("--") << QStringLiteral("sway")
            << QStringLiteral("-c") << config;
    // sway talks a lot; its log is shown only when it does not come up.
    const QString log = home_.filePath(QStringLiteral("sway.log"));
    session_->setProcessChannelMode(QProcess::MergedChannels);
    session_->setStandardOutputFile(log);
    session_->start(command.takeFirst(), command);
    if (!session_->waitForStarted(5000))
        return;

    // sway names its IPC socket after its PID, which is how it is ended.
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && session_->state() == QProcess::Running) {
        const QDir run(runtime_);
        const QStringList ipc = run.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        // The display's socket, not its lock file.
        const QStringList wayland = run.entryList({QStringLiteral("wayland-?")}, QDir::System);
        if (!ipc.isEmpty() && !wayland.isEmpty()) {
            ipc_ = run.filePath(ipc.first());
            swayPid_ = ipc.first().section(QLatin1Char('.'), 2, 2).toLongLong();
            // Xwayland's display is sway's own to choose: ask a child of sway.
            const QString displayFile = home_.filePath(QStringLiteral("display"));
            const QString busFile = home_.filePath(QStringLiteral("bus"));
            // One command each: sway would split a shell's ";" itself.
            Message({QStringLiteral("exec"),
                QStringLiteral("echo $DBUS_SESSION_BUS_ADDRESS > ") + busFile});
            Message({QStringLiteral("exec"), QStringLiteral("echo $DISPLAY > ") + displayFile});
            const QDeadlineTimer told(5000);
            while (!told.hasExpired() && (xDisplay_.isEmpty() || bus_.isEmpty())) {
                bus_ = ReadBack(busFile);
                xDisplay_ = ReadBack(displayFile);
                QThread::msleep(50);
            }
            display_ = wayland.first();
            // Started once for the desktop's life: restarting it while
            // Xwayland runs crashes sway 1.7.
            input_ = std::make_unique<QProcess>();
            StartClient(*input_, QStringLiteral(WAYLAND_INPUT_EXE));
            const QDeadlineTimer holding(5000);
            QByteArray said;
            while (
                !said.contains("ready") && !holding.hasExpired() && input_->waitForReadyRead(500))
                said += input_->readAllStandardOutput();
            if (!said.contains("ready") || (options.portal && !StartPortal(options)))
                display_.clear();
            return;
        }
        QThread::msleep(50);
    }
    QFile told(log);
    if (told.open(QIODevice::ReadOnly))
        qWarning("sway did not come up:\n%s", told.readAll().right(4000).constData());
}

WaylandSession::~WaylandSession()
{
    for (auto it = services_.rbegin(); it != services_.rend(); ++it) {
        (*it)->kill();
        (*it)->waitForFinished(3000);
    }
    if (input_) {
        input_->kill();
        input_->waitForFinished(3000);
    }
    if (swayPid_ > 0)
        ::kill(static_cast<pid_t>(swayPid_), SIGTERM);
    // dbus-run-session ends its bus once sway has gone.
    if (!session_->waitForFinished(5000)) {
        if (swayPid_ > 0)
            ::kill(static_cast<pid_t>(swayPid_), SIGKILL);
        session_->kill();
        session_->waitForFinished(3000);
    }
}

QStringList WaylandSession::AsSessionUser() const
{
    if (!Root())
        return {};
    return {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
        QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"), QStringLiteral("--")};
}

void WaylandSession::StartClient(QProcess& client, const QString& program,
    const QStringList& arguments, const QProcessEnvironment& env) const
{
    client.setProcessEnvironment(env.isEmpty() ? Environment() : env);
    const QStringList wrapper = AsSessionUser();
    if (wrapper.isEmpty())
        client.start(program, arguments);
    else
        client.start(wrapper.first(), wrapper.mid(1) + QStringList{program} + arguments);
}

void WaylandSession::ProvideBusService(
    const QString& busName, const QString& program, const QString& qtPlatform) const
{
    // The bus reads a folder of the runtime folder only where it is the
    // session user's own.
    const QString services = runtime_ + QStringLiteral("/dbus-1/services");
    QDir().mkpath(services);
    Own(runtime_ + QStringLiteral("/dbus-1"));
    Own(services);
    const QString file = services + u'/' + busName + QStringLiteral(".service");
    QFile service(file);
    if (service.open(QIODevice::WriteOnly))
        service.write(
            "[D-BUS Service]\nName=" + busName.toUtf8() + "\nExec=" + program.toUtf8() + '\n');
    service.close();
    Own(file);
    const QProcessEnvironment env = Environment(qtPlatform);
    QStringList display;
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"})
        display << QStringLiteral("'%1': '%2'").arg(QLatin1String(name), env.value(name));
    const QStringList bus{QStringLiteral("call"), QStringLiteral("--session"),
        QStringLiteral("--dest"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("--object-path"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("--method")};
    // A folder made after the bus started is one it has not read.
    for (const QStringList& call :
        {QStringList{QStringLiteral("org.freedesktop.DBus.ReloadConfig")},
            QStringList{QStringLiteral("org.freedesktop.DBus.UpdateActivationEnvironment"),
                u'{' + display.join(QStringLiteral(", ")) + u'}'}}) {
        QProcess gdbus;
        StartClient(gdbus, QStringLiteral("gdbus"), bus + call);
        gdbus.waitForFinished(10000);
    }
}

void WaylandSession::ShareFolder(const QString& folder)
{
    QFile::setPermissions(folder,
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::WriteOther | QFile::ExeOther);
}

QString WaylandSession::InstallShared(
    const QString& folder, const QString& program, const QByteArray& settings)
{
    ShareFolder(folder);
    const QString copy = folder + QStringLiteral("/tinctor");
    QFile::copy(program, copy);
    QFile ini(folder + QStringLiteral("/tinctor.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write(settings);
    ini.close();
    ShareFolder(ini.fileName());
    return copy;
}

QProcessEnvironment WaylandSession::Environment(const QString& qtPlatform) const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), display_);
    env.insert(QStringLiteral("DISPLAY"), xDisplay_);
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qtPlatform);
    if (!bus_.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_);
    if (!services_.empty()) {
        env.insert(QStringLiteral("XCURSOR_THEME"), QStringLiteral("blank"));
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("sway"));
    }
    // A sanitized build's options reach the program under test. The
    // system's Wayland libraries have no frame pointers, so a leak they
    // hold for Qt's plugin is traced slowly, or the plugin that owns it,
    // named in the suppressions, would not show.
    const QProcessEnvironment mine = QProcessEnvironment::systemEnvironment();
    for (const QString& name : mine.keys()) {
        if (name.endsWith(QLatin1String("SAN_OPTIONS")))
            env.insert(name, mine.value(name));
    }
    if (env.contains(QStringLiteral("LSAN_OPTIONS")))
        env.insert(QStringLiteral("LSAN_OPTIONS"),
            env.value(QStringLiteral("LSAN_OPTIONS")) + QStringLiteral(":fast_unwind_on_malloc=0"));
    return env;
}

QString WaylandSession::Message(const QStringList& arguments) const
{
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"), QStringList{QStringLiteral("-s"), ipc_} + arguments);
    if (!swaymsg.waitForFinished(10000)) {
        swaymsg.kill();
        swaymsg.waitForFinished();
    }
    return QString::fromUtf8(swaymsg.readAllStandardOutput());
}

QString WaylandSession::Rearrange(const QStringList& arguments)
{
    const QString said = Message(arguments);
    const QJsonArray outputs = QJsonDocument::fromJson(
        Message({QStringLiteral("-t"), QStringLiteral("get_outputs")}).toUtf8())
                                   .array();
    QRect layout;
    int active = 0;
    for (const QJsonValue& output : outputs) {
        const QJsonObject rect = output[QStringLiteral("rect")].toObject();
        if (!output[QStringLiteral("active")].toBool())
            continue;
        layout |= QRect(rect[QStringLiteral("x")].toInt(), rect[QStringLiteral("y")].toInt(),
            rect[QStringLiteral("width")].toInt(), rect[QStringLiteral("height")].toInt());
        ++active;
    }
    if (active > 0) {
        layout_ = layout;
        outputs_ = active;
    }
    return said;
}

QList<QJsonObject> WaylandSession::Clients(
    const std::function<bool(const QJsonObject&)>& wanted) const
{
    QList<QJsonObject> found;
    const QJsonDocument tree = QJsonDocument::fromJson(
        Message({QStringLiteral("-t"), QStringLiteral("get_tree")}).toUtf8());
    CollectWindows(tree.object(), wanted, found);
    return found;
}

QList<QJsonObject> WaylandSession::Windows(const QString& title) const
{
    return Clients([&title](const QJsonObject& node) {
        return node.value(QStringLiteral("name")).toString() == title;
    });
}

int WaylandSession::FullScreenWindows() const
{
    return Clients([](const QJsonObject& node) {
        return node.value(QStringLiteral("fullscreen_mode")).toInt() == 1;
    }).size();
}

QImage WaylandSession::Grab(const QRect& area) const
{
    QProcess grim;
    StartClient(grim, QStringLiteral("grim"),
        {QStringLiteral("-g"),
            QStringLiteral("%1,%2 %3x%4")
                .arg(area.x())
                .arg(area.y())
                .arg(area.width())
                .arg(area.height()),
            QStringLiteral("-t"), QStringLiteral("ppm"), QStringLiteral("-")});
    if (!grim.waitForFinished(5000))
        return {};
    return QImage::fromData(grim.readAllStandardOutput(), "PPM");
}

void WaylandSession::Click(QPoint at, Qt::MouseButton button) const
{
    const QString name
        = button == Qt::RightButton ? QStringLiteral("button3") : QStringLiteral("button1");
    Message({QStringLiteral("seat"), QStringLiteral("seat0"), QStringLiteral("cursor"),
        QStringLiteral("set"), QString::number(at.x()), QString::number(at.y())});
    Message({QStringLiteral("seat"), QStringLiteral("seat0"), QStringLiteral("cursor"),
        QStringLiteral("press"), name});
    Message({QStringLiteral("seat"), QStringLiteral("seat0"), QStringLiteral("cursor"),
        QStringLiteral("release"), name});
}

void WaylandSession::Chord(std::initializer_list<int> keys) const
{
    QList<QByteArray> lines;
    for (const int key : keys)
        lines << "press " + QByteArray::number(key) + '\n';
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        lines << "release " + QByteArray::number(*it) + '\n';
    // A key at a time, as a hand types: a burst can outrun the client.
    for (const QByteArray& line : lines) {
        input_->write(line);
        input_->waitForBytesWritten(3000);
        QThread::msleep(40);
    }
}

QRect WaylandSession::Inside(const QJsonObject& window)
{
    const QJsonObject outer = window.value(QStringLiteral("rect")).toObject();
    const QJsonObject inner = window.value(QStringLiteral("window_rect")).toObject();
    return QRect(
        outer.value(QStringLiteral("x")).toInt() + inner.value(QStringLiteral("x")).toInt(),
        outer.value(QStringLiteral("y")).toInt() + inner.value(QStringLiteral("y")).toInt(),
        inner.value(QStringLiteral("width")).toInt(),
        inner.value(QStringLiteral("height")).toInt());
}

bool WaylandSession::Focused(const QString& title) const
{
    return Windows(title).value(0).value(QStringLiteral("focused")).toBool();
}

bool WaylandSession::WaitForWindows(const QString& title, int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (Windows(title).size() == count)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

bool WaylandSession::StartPortal(const Options& options)
{
    // xdg-desktop-portal-wlr always writes its screenshot to /tmp/out.png:
    // one left by another user would make every screenshot fail.
    const QFileInfo shot(QStringLiteral("/tmp/out.png"));
    if (shot.exists() && shot.ownerId() != ::getuid() && ::getuid() == 0)
        QFile::remove(shot.filePath());

    QProcessEnvironment env = Environment();
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("sway"));
    // A grim that fails for the whole screen but serves the colour picker's
    // region of one pixel where the screenshot is refused, and that takes
    // its time where the test says so.
    const QString bin = home_.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    QFile grim(bin + QStringLiteral("/grim"));
    if (!grim.open(QIODevice::WriteOnly))
        return false;
    grim.write("#!/bin/sh\ncase \" $* \" in *\" -g \"*) exec /usr/bin/grim \"$@\";; esac\n");
    grim.write(options.refuseScreenshot ? "exit 1\n"
                                        : "sleep \"$(cat \"$HOME/slow\" 2>/dev/null || echo 0)\"\n"
                                          "exec /usr/bin/grim \"$@\"\n");
    grim.close();
    grim.setPermissions(QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    Own(bin);
    env.insert(QStringLiteral("PATH"), bin + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    // pipewire first: the wlr backend ends at once without it.
    for (const char* program : {"/usr/bin/pipewire", "/usr/libexec/xdg-desktop-portal-wlr",
             "/usr/libexec/xdg-desktop-portal-gtk", "/usr/libexec/xdg-desktop-portal"}) {
        auto service = std::make_unique<QProcess>();
        service->setProcessChannelMode(QProcess::MergedChannels);
        service->setStandardOutputFile(
            home_.filePath(QFileInfo(QLatin1String(program)).fileName() + QStringLiteral(".log")));
        StartClient(*service, QLatin1String(program), {}, env);
        if (!service->waitForStarted(5000))
            return false;
        services_.push_back(std::move(service));
        QThread::msleep(200);
    }
    // Up once the portal offers its screenshot.
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QProcess ask;
        StartClient(ask, QStringLiteral("gdbus"),
            {QStringLiteral("introspect"), QStringLiteral("--session"), QStringLiteral("--dest"),
                QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("--object-path"),
                QStringLiteral("/org/freedesktop/portal/desktop")},
            env);
        ask.waitForFinished(5000);
        if (ask.readAllStandardOutput().contains("org.freedesktop.portal.Screenshot"))
            return true;
        QThread::msleep(200);
    }
    qWarning("the desktop portal offers no screenshot");
    return false;
}

void WaylandSession::SlowScreenshots(int ms) const
{
    QFile slow(home_.filePath(QStringLiteral("slow")));
    if (slow.open(QIODevice::WriteOnly))
        slow.write(QByteArray::number(ms / 1000.0));
    slow.close();
    Own(slow.fileName());
}

void WaylandSession::KillCompositor()
{
    if (swayPid_ > 0)
        ::kill(static_cast<pid_t>(swayPid_), SIGKILL);
}

void WaylandSession::MoveTo(QPointF at, int settleMs) const
{
    // The virtual pointer's absolute motion spans the whole layout.
    constexpr int kFine = 256;
    const QByteArray line = "move " + QByteArray::number(qRound((at.x() - layout_.x()) * kFine))
        + ' ' + QByteArray::number(qRound((at.y() - layout_.y()) * kFine)) + ' '
        + QByteArray::number(layout_.width() * kFine) + ' '
        + QByteArray::number(layout_.height() * kFine) + '\n';
    input_->write(line);
    input_->waitForBytesWritten(3000);
    QThread::msleep(settleMs);
}

void WaylandSession::ClickHere(Qt::MouseButton button) const
{
    const int code = button == Qt::RightButton ? BTN_RIGHT
        : button == Qt::MiddleButton           ? BTN_MIDDLE
                                               : BTN_LEFT;
    for (const int pressed : {1, 0}) {
        input_->write(
            "click " + QByteArray::number(code) + ' ' + QByteArray::number(pressed) + '\n');
        input_->waitForBytesWritten(3000);
        QThread::msleep(40);
    }
}
