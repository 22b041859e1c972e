#include "door_call.h"
#include "tinctor_process.h"
#include "wayland_session.h"

#include <QtTest>

#include <csignal>
#include <linux/input-event-codes.h>

// The window of colour stripes, open for as long as the object lives.
struct StripesWindow {
    explicit StripesWindow(const WaylandSession& desktop)
    {
        desktop.StartClient(process, QStringLiteral(STRIPES_WINDOW_EXE));
    }
    ~StripesWindow()
    {
        process.kill();
        process.waitForFinished(3000);
    }
    StripesWindow(const StripesWindow&) = delete;
    StripesWindow& operator=(const StripesWindow&) = delete;

    QProcess process;
};

// The screen pick on a headless Wayland desktop with the real desktop portal
// (xdg-desktop-portal with its wlr and gtk backends, grim and slurp), natively
// and under Xwayland, over two outputs of scales 1 and 2. The picture comes
// from sway's screen copy, or from the portal where a shim hides the copy
// from Tinctor.
class tst_WaylandPick : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pickKeepsOrRestores_data();
    void pickKeepsOrRestores();
    void everyDevicePixelOfAScaledWindow_data();
    void everyDevicePixelOfAScaledWindow();
    void launcherDoor_data();
    void launcherDoor();
    // From here on, cases bring desktops of their own, and the suite's goes.
    void badInputEndsThePick_data();
    void badInputEndsThePick();
    void desktopPickerStandsInForARefusedScreenshot();
    void withoutAnyPortal_data();
    void withoutAnyPortal();

private:
    std::unique_ptr<TinctorProcess> Start(const WaylandSession& desktop, const QString& platform,
        const QProcessEnvironment& env = {});
    // The same, where the compositor seems to offer no screen copy.
    std::unique_ptr<TinctorProcess> StartWithoutCopy(
        const WaylandSession& desktop, QProcessEnvironment env);
    // Starts the pick from the keyboard, as a user would: Alt+E, P.
    static void ChoosePick(const WaylandSession& desktop);
    // How many outputs a pick's cover lies on.
    static int Covers(const WaylandSession& desktop, const QString& platform);
    QByteArray ColourSaved() const;
    // Picks at `at` and ends with `end` (a button, or 0 for Escape), the
    // picture through the portal alone where `portal`, else through the
    // screen copy alone, the portal out of reach. Where the pointer
    // `stays`, `at` is on the main window, the pointer is put there before
    // the pick and `under` gets what lay there. Where `preview` is valid,
    // the main window's preview must show it during the pick.
    void Pick(const QString& platform, QPointF at, int end, bool portal = false, bool stays = false,
        const QColor& preview = {}, QColor* under = nullptr);

    std::unique_ptr<WaylandSession> desktop_;
    // One output, without the portal.
    std::unique_ptr<WaylandSession> bare_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString program_;
};

namespace {

const QString kShotFile = QStringLiteral("/tmp/out.png");

bool Running(const QByteArray& name)
{
    for (const QString& process : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(process));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            return true;
    }
    return false;
}

QByteArray Rgb(int r, int g, int b)
{
    return "Red=" + QByteArray::number(r) + "\nGreen=" + QByteArray::number(g)
        + "\nBlue=" + QByteArray::number(b) + '\n';
}

} // namespace

void tst_WaylandPick::initTestCase()
{
    WaylandSession::Options options;
    options.outputs = {{1280, 1024, 1.0}, {1280, 1024, 2.0}};
    options.portal = true;
    desktop_ = std::make_unique<WaylandSession>(options);
    QVERIFY2(desktop_->IsUp(), "sway or the desktop portal did not start");
    QCOMPARE(desktop_->Layout(), QRect(0, 0, 1920, 1024));
}

void tst_WaylandPick::init()
{
    if (desktop_)
        QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    folder_ = std::make_unique<QTemporaryDir>();
    // A known colour to come back to.
    program_ = WaylandSession::InstallShared(
        folder_->path(), QStringLiteral(TINCTOR_EXE), "[Color]\n" + Rgb(200, 210, 220));
}

std::unique_ptr<TinctorProcess> tst_WaylandPick::Start(
    const WaylandSession& desktop, const QString& platform, const QProcessEnvironment& env)
{
    auto tinctor = std::make_unique<TinctorProcess>(
        program_, desktop.AsSessionUser(), env.isEmpty() ? desktop.Environment(platform) : env);
    if (desktop.WaitForWindows(QStringLiteral("Tinctor"), 1))
        desktop.Message({QStringLiteral("[title=\"^Tinctor$\"]"), QStringLiteral("focus")});
    return tinctor;
}

std::unique_ptr<TinctorProcess> tst_WaylandPick::StartWithoutCopy(
    const WaylandSession& desktop, QProcessEnvironment env)
{
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(HIDE_SCREEN_COPY_LIB));
    // A sanitized build wants its runtime first; the shim needs none.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
        (asan.isEmpty() ? asan : asan + ':') + QStringLiteral("verify_asan_link_order=0"));
    return Start(desktop, env.value(QStringLiteral("QT_QPA_PLATFORM")), env);
}

void tst_WaylandPick::ChoosePick(const WaylandSession& desktop)
{
    desktop.Chord({KEY_LEFTALT, KEY_E});
    desktop.Chord({KEY_P});
}

int tst_WaylandPick::Covers(const WaylandSession& desktop, const QString& platform)
{
    if (platform == QLatin1String("wayland"))
        return desktop.FullScreenWindows();
    // Override-redirect, the covers are in none of the compositor's window
    // lists: the X server lists them.
    QProcess xwininfo;
    desktop.StartClient(xwininfo, QStringLiteral("xwininfo"),
        {QStringLiteral("-root"), QStringLiteral("-children")});
    xwininfo.waitForFinished(5000);
    const QByteArray children = xwininfo.readAllStandardOutput();
    return int(children.contains("1280x1024+0+0")) + int(children.contains("640x512+1280+0"));
}

QByteArray tst_WaylandPick::ColourSaved() const
{
    const QByteArray saved = ReadFile(folder_->filePath(QStringLiteral("tinctor.ini")));
    const qsizetype at = saved.indexOf("Red=");
    const qsizetype end = saved.indexOf("RGB=");
    return at < 0 ? saved : saved.mid(at, end < at ? -1 : end - at);
}

void tst_WaylandPick::pickKeepsOrRestores_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("end"); // a button, 0 for Escape, -1 for Shift+Right and Enter
    QTest::addColumn<bool>("stays"); // the pointer there before the pick
    QTest::addColumn<QColor>("preview"); // during the pick, where valid
    QTest::addColumn<QByteArray>("saved"); // empty: what lay under the pointer

    const QPointF onFirst(40.5, 980.25); // scale 1, the background #336699
    const QPointF onSecond(1900.75, 20.25); // scale 2, the background #993366
    const QColor first(0x33, 0x66, 0x99);
    for (const QString& platform : {QStringLiteral("wayland"), QStringLiteral("xcb")}) {
        const QByteArray name = platform.toLatin1();
        QTest::newRow(name + ", left on scale 1") << platform << onFirst << int(Qt::LeftButton)
                                                  << false << first << Rgb(0x33, 0x66, 0x99);
        QTest::newRow(name + ", left on scale 2") << platform << onSecond << int(Qt::LeftButton)
                                                  << false << QColor() << Rgb(0x99, 0x33, 0x66);
        QTest::newRow(name + ", left without a motion")
            << platform << QPointF(3.5, 3.5) << int(Qt::LeftButton) << true << QColor()
            << QByteArray();
        QTest::newRow(name + ", right restores") << platform << onSecond << int(Qt::RightButton)
                                                 << false << QColor() << Rgb(200, 210, 220);
        QTest::newRow(name + ", Escape restores")
            << platform << onFirst << 0 << false << QColor() << Rgb(200, 210, 220);
        // Ten pixels right, over the edge onto the second output.
        QTest::newRow(name + ", keys nudge and keep") << platform << QPointF(1275.5, 20.25) << -1
                                                      << false << QColor() << Rgb(0x99, 0x33, 0x66);
    }
}

void tst_WaylandPick::Pick(const QString& platform, QPointF at, int end, bool portal, bool stays,
    const QColor& preview, QColor* under)
{
    QProcessEnvironment env = desktop_->Environment(platform);
    if (!portal)
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    auto tinctor = portal ? StartWithoutCopy(*desktop_, env) : Start(*desktop_, platform, env);
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QRect inside
        = WaylandSession::Inside(desktop_->Windows(QStringLiteral("Tinctor")).first());
    if (stays) {
        at += inside.topLeft();
        *under = desktop_->Grab(QRect(at.toPoint(), QSize(1, 1))).pixelColor(0, 0);
        desktop_->MoveTo(at);
    }
    ChoosePick(*desktop_);
    QTRY_COMPARE_WITH_TIMEOUT(Covers(*desktop_, platform), 2, 10000);
    // The compositor lists a cover before it shows it, and input before
    // then goes to what lay there.
    QThread::msleep(400);
    if (!stays)
        desktop_->MoveTo(at);
    // Most of the preview, the caption on it aside.
    const auto previewShows = [&](const QColor& colour) {
        const QImage area = desktop_->Grab(QRect(inside.x() + 18, inside.y() + 40, 60, 60));
        int same = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x)
                same += area.pixelColor(x, y) == colour;
        }
        return same > area.width() * area.height() / 2;
    };
    if (preview.isValid())
        QTRY_VERIFY(previewShows(preview));
    if (end == 0) {
        desktop_->Chord({KEY_ESC});
    } else if (end < 0) {
        desktop_->Chord({KEY_LEFTSHIFT, KEY_RIGHT});
        desktop_->Chord({KEY_ENTER});
    } else {
        desktop_->ClickHere(static_cast<Qt::MouseButton>(end));
    }
    QTRY_COMPARE(Covers(*desktop_, platform), 0);
    QCOMPARE(tinctor->Terminate(), 0);
    QVERIFY2(!QFileInfo::exists(kShotFile), "the pick left its screenshot behind");
}

void tst_WaylandPick::pickKeepsOrRestores()
{
    QFETCH(QString, platform);
    QFETCH(QPointF, at);
    QFETCH(int, end);
    QFETCH(bool, stays);
    QFETCH(QColor, preview);
    QFETCH(QByteArray, saved);

    QColor under;
    Pick(platform, at, end, false, stays, preview, &under);
    QCOMPARE(
        ColourSaved(), saved.isEmpty() ? Rgb(under.red(), under.green(), under.blue()) : saved);
}

void tst_WaylandPick::everyDevicePixelOfAScaledWindow_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("transform"); // of the scale-2 output
    QTest::addColumn<qreal>("fraction"); // of a logical pixel
    QTest::addColumn<bool>("portal"); // or the screen copy
    QTest::addColumn<QByteArray>("saved");

    // Both ways to the picture give the same device pixels, whichever way
    // the output is turned or mirrored. X11 positions are whole logical
    // pixels: the odd columns are beyond an X client's reach.
    const struct {
        const char* platform;
        const char* transform;
        qreal fraction;
    } cases[] = {{"wayland", "normal", 0.25}, {"wayland", "normal", 0.75}, {"wayland", "90", 0.75},
        {"wayland", "180", 0.25}, {"wayland", "flipped-270", 0.75}, {"xcb", "normal", 0.0}};
    for (const auto& [platform, transform, fraction] : cases) {
        const bool odd = fraction > 0.5;
        for (const bool portal : {false, true}) {
            if (portal && QByteArray(platform) == "xcb")
                continue;
            QTest::addRow("%s, %s, %s column, %s", platform, transform, odd ? "odd" : "even",
                portal ? "portal" : "screen copy")
                << QString::fromLatin1(platform) << QString::fromLatin1(transform) << fraction
                << portal << (odd ? Rgb(0, 0, 0xFF) : Rgb(0xFF, 0, 0));
        }
    }
}

void tst_WaylandPick::everyDevicePixelOfAScaledWindow()
{
    QFETCH(QString, platform);
    QFETCH(QString, transform);
    QFETCH(qreal, fraction);
    QFETCH(bool, portal);
    QFETCH(QByteArray, saved);

    const QString second = QStringLiteral("HEADLESS-2");
    desktop_->Rearrange({QStringLiteral("output"), second, QStringLiteral("transform"), transform});
    const auto upright = qScopeGuard([this, second] {
        desktop_->Rearrange({QStringLiteral("output"), second, QStringLiteral("transform"),
            QStringLiteral("normal")});
    });
    // On the scale-2 output, which the next Tinctor must not share.
    desktop_->Message({QStringLiteral("focus"), QStringLiteral("output"), second});
    const StripesWindow stripes(*desktop_);
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Stripes"), 1));
    // Small and off both the output's middle and its diagonal, so that a
    // picture turned or mirrored the wrong way shows the background there.
    // Asked again until it holds: sway drops a resize that comes before the
    // window has taken its first size, which a loaded machine makes likely.
    const QRect wanted(1580, 20, 200, 100);
    const auto stripesInside = [this] {
        return WaylandSession::Inside(desktop_->Windows(QStringLiteral("Stripes")).value(0));
    };
    const auto placed = [&] {
        if (stripesInside() == wanted)
            return true;
        desktop_->Message({QStringLiteral("[title=\"^Stripes$\"]"),
            QStringLiteral("floating enable, border none,"), QStringLiteral("resize set 200 100,"),
            QStringLiteral("move absolute position 1580 20")});
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(placed(), 10000);
    desktop_->Message(
        {QStringLiteral("focus"), QStringLiteral("output"), QStringLiteral("HEADLESS-1")});
    const QRect inside = stripesInside();
    // Drawn at its new size.
    QThread::msleep(300);

    Pick(platform, QPointF(inside.center()) + QPointF(fraction, 0.5), int(Qt::LeftButton), portal);
    QCOMPARE(ColourSaved(), saved);
}

enum class Fault { LateEscape, LateRightButton, Plugged, CompositorDies };
Q_DECLARE_METATYPE(Fault)

void tst_WaylandPick::badInputEndsThePick_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<Fault>("fault");

    for (const QString& platform : {QStringLiteral("wayland"), QStringLiteral("xcb")}) {
        const QByteArray name = platform.toLatin1();
        QTest::newRow(name + ", the portal answers after Escape") << platform << Fault::LateEscape;
        QTest::newRow(name + ", the portal answers after the right button")
            << platform << Fault::LateRightButton;
        QTest::newRow(name + ", an output plugged in mid-pick") << platform << Fault::Plugged;
        QTest::newRow(name + ", the compositor dies mid-pick") << platform << Fault::CompositorDies;
    }
}

// Each ends with the colour from before, no covers and no file left.
void tst_WaylandPick::badInputEndsThePick()
{
    QFETCH(QString, platform);
    QFETCH(Fault, fault);

    // A new output stays, and a dead compositor ends its desktop: those
    // rows have one of their own.
    std::unique_ptr<WaylandSession> own;
    if (fault == Fault::Plugged || fault == Fault::CompositorDies)
        own = std::make_unique<WaylandSession>();
    WaylandSession& desktop = own ? *own : *desktop_;
    QVERIFY(desktop.IsUp());
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 0));
    const bool late = fault == Fault::LateEscape || fault == Fault::LateRightButton;
    auto tinctor = late ? StartWithoutCopy(desktop, desktop.Environment(platform))
                        : Start(desktop, platform);
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    const auto fast = qScopeGuard([&desktop] { desktop.SlowScreenshots(0); });
    if (late) {
        desktop.SlowScreenshots(1000);
        desktop.MoveTo(
            WaylandSession::Inside(desktop.Windows(QStringLiteral("Tinctor")).first()).center());
    }
    ChoosePick(desktop);
    if (late) {
        QThread::msleep(300);
        if (fault == Fault::LateEscape)
            desktop.Chord({KEY_ESC});
        else
            desktop.ClickHere(Qt::RightButton);
        // Until well after the portal's answer, no pick starts.
        bool shot = false;
        const QDeadlineTimer answered(3000);
        while (!answered.hasExpired()) {
            QCOMPARE(Covers(desktop, platform), 0);
            shot = shot || Running("grim");
        }
        QVERIFY2(shot && !Running("grim"), "the portal took no screenshot in time");
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(Covers(desktop, platform), 1, 10000);
        QThread::msleep(400);
        desktop.MoveTo(QPointF(40.5, 500.5));
        if (fault == Fault::Plugged) {
            desktop.Rearrange({QStringLiteral("create_output")});
            QTRY_COMPARE(Covers(desktop, platform), 0);
        } else {
            desktop.KillCompositor();
            // It goes with its display, without a hang.
            QVERIFY(tinctor->Process().waitForFinished(10000));
        }
    }
    if (fault != Fault::CompositorDies)
        QCOMPARE(tinctor->Terminate(), 0);
    QCOMPARE(ColourSaved(), Rgb(200, 210, 220));
    QVERIFY2(!QFileInfo::exists(kShotFile), "the pick left its screenshot behind");
}

void tst_WaylandPick::desktopPickerStandsInForARefusedScreenshot()
{
    // Its own desktop: one output, since the wlr picker fails on scaled
    // ones, and a portal whose screenshot fails.
    desktop_.reset();
    WaylandSession::Options options;
    options.portal = true;
    options.refuseScreenshot = true;
    WaylandSession desktop(options);
    QVERIFY2(desktop.IsUp(), "sway or the desktop portal did not start");
    auto tinctor = StartWithoutCopy(desktop, desktop.Environment());
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    ChoosePick(desktop);
    // slurp's overlay is no window in the compositor's tree: its process is
    // waited for, then its surface a moment.
    QTRY_VERIFY_WITH_TIMEOUT(Running("slurp"), 10000);
    QThread::msleep(500);
    desktop.MoveTo(QPointF(30.5, 1000.5));
    desktop.ClickHere();
    QTRY_VERIFY_WITH_TIMEOUT(tinctor->Terminate() == 0, 10000);
    QCOMPARE(ColourSaved(), Rgb(0x33, 0x66, 0x99));
}

void tst_WaylandPick::withoutAnyPortal_data()
{
    QTest::addColumn<bool>("screenCopy");
    QTest::newRow("the screen copy picks") << true;
    QTest::newRow("nor screen copy: the preview says so") << false;
}

void tst_WaylandPick::withoutAnyPortal()
{
    QFETCH(bool, screenCopy);

    desktop_.reset();
    if (!bare_)
        bare_ = std::make_unique<WaylandSession>();
    WaylandSession& desktop = *bare_;
    QVERIFY(desktop.IsUp());
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 0));
    // No session bus, so no portal can be reached or started.
    QProcessEnvironment env = desktop.Environment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    auto tinctor = screenCopy ? Start(desktop, QStringLiteral("wayland"), env)
                              : StartWithoutCopy(desktop, env);
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    if (screenCopy) {
        ChoosePick(desktop);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.FullScreenWindows(), 1, 10000);
        QThread::msleep(400);
        desktop.MoveTo(QPointF(30.5, 1000.5));
        desktop.ClickHere();
        QTRY_COMPARE(desktop.FullScreenWindows(), 0);
        QCOMPARE(tinctor->Terminate(), 0);
        QCOMPARE(ColourSaved(), Rgb(0x33, 0x66, 0x99));
        return;
    }
    const QRect inside = WaylandSession::Inside(desktop.Windows(QStringLiteral("Tinctor")).first());

    // The preview (inside the menu bar's height) shows the colour alone, then
    // the message in black on it, then the colour alone again.
    const auto previewInk = [&] {
        const QImage preview = desktop.Grab(QRect(inside.x() + 18, inside.y() + 40, 60, 60));
        int ink = 0;
        for (int y = 0; y < preview.height(); ++y) {
            for (int x = 0; x < preview.width(); ++x)
                ink += qGray(preview.pixel(x, y)) < 64;
        }
        return ink;
    };
    QCOMPARE(previewInk(), 0);
    ChoosePick(desktop);
    QTRY_VERIFY(previewInk() > 20);
    QCOMPARE(desktop.FullScreenWindows(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(previewInk(), 0, 8000);
    QCOMPARE(tinctor->Terminate(), 0);
    QCOMPARE(ColourSaved(), Rgb(200, 210, 220));
}

void tst_WaylandPick::launcherDoor_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("method"); // of org.freedesktop.Application
    QTest::addColumn<QStringList>("arguments"); // in gdbus's notation
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("answered"); // else refused with an error
    QTest::addColumn<bool>("picks");

    // sway has no minimised windows, and one user's bus.
    for (const char* platform : {"wayland", "xcb"}) {
        const auto row = [platform](const char* name, const char* method, QStringList arguments,
                             const char* situation, bool answered, bool picks) {
            QTest::addRow("%s, %s", platform, name)
                << QString::fromLatin1(platform) << QString::fromLatin1(method) << arguments
                << QString::fromLatin1(situation) << answered << picks;
        };
        const QStringList pick{"pick", "[]", "{}"};
        row("the shortcut's command", "ActivateAction", pick, "shortcut", true, true);
        row("the pick action, not running", "ActivateAction", pick, "not running", true, true);
        row("a thousand picks at once", "ActivateAction", pick, "a thousand calls", true, true);
        row("the pick action over the version dialog", "ActivateAction", pick, "version dialog",
            true, false);
        row("activation brings the window forward", "Activate", {"{}"}, "", true, false);
        row("an unknown action", "ActivateAction", {"paint", "[]", "{}"}, "", false, false);
        row("the pick with a parameter", "ActivateAction", {"pick", "[<1>]", "{}"}, "", false,
            false);
        row("a file to open", "Open", {"['file:///tmp/x.png']", "{}"}, "", false, false);
    }
}

void tst_WaylandPick::launcherDoor()
{
    QFETCH(QString, platform);
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, situation);
    QFETCH(bool, answered);
    QFETCH(bool, picks);

    const auto bus = [this](const QStringList& arguments) {
        QProcess gdbus;
        desktop_->StartClient(gdbus, QStringLiteral("gdbus"),
            QStringList{"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                "/org/freedesktop/DBus", "--method"}
                + arguments);
        gdbus.waitForFinished(10000);
        return QString::fromUtf8(gdbus.readAllStandardOutput());
    };
    std::unique_ptr<TinctorProcess> tinctor;
    const QString dialog = QString::fromUtf8("バージョン情報");
    if (situation == "not running") {
        desktop_->ProvideBusService(QStringLiteral("org.vantrel.Tinctor"), program_, platform);
    } else {
        tinctor = Start(*desktop_, platform, desktop_->Environment(platform));
        QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
        if (situation == "version dialog") {
            QTRY_VERIFY(desktop_->Focused(QStringLiteral("Tinctor")));
            for (const int key : {KEY_F10, KEY_H, KEY_A})
                desktop_->Chord({key});
            QVERIFY(desktop_->WaitForWindows(dialog, 1));
        }
    }
    // Another window has the focus, as when a shortcut or a launcher calls.
    const StripesWindow stripes(*desktop_);
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Stripes"), 1));
    QTRY_VERIFY(!desktop_->Focused(QStringLiteral("Tinctor")));

    const DoorCall door(situation, method, arguments);
    const auto call = [&] {
        QProcess client;
        desktop_->StartClient(client, door.command.first(), door.command.mid(1));
        return door.Answer(client);
    };
    const auto [ok, said] = call();
    QVERIFY2(ok == answered, said.constData());
    if (situation == "a thousand calls")
        QCOMPARE(said.trimmed(), QByteArray("1000 0"));
    if (picks) {
        QTRY_COMPARE_WITH_TIMEOUT(Covers(*desktop_, platform), 2, 10000);
        QThread::msleep(400);
        // Called again during the pick: still the one pick.
        QVERIFY(call().first);
        QTest::qWait(300);
        QCOMPARE(Covers(*desktop_, platform), 2);
        desktop_->Chord({KEY_ESC});
        QTRY_COMPARE(Covers(*desktop_, platform), 0);
        QTest::qWait(300);
        QCOMPARE(Covers(*desktop_, platform), 0);
    } else {
        QTest::qWait(300);
        QCOMPARE(Covers(*desktop_, platform), 0);
    }
    // The dialog keeps its place in front of the window.
    if (answered)
        QTRY_VERIFY(desktop_->Focused(situation == "version dialog" ? dialog : "Tinctor"));
    if (tinctor) {
        QCOMPARE(tinctor->Terminate(), 0);
        return;
    }
    // The copy the bus started ends as a logout ends it.
    // gdbus prints "(uint32 1234,)".
    const QString answer
        = bus({"org.freedesktop.DBus.GetConnectionUnixProcessID", "org.vantrel.Tinctor"});
    const int pid = answer.section(u' ', 1).remove(u',').remove(u')').trimmed().toInt();
    QVERIFY2(pid > 0, qPrintable(answer));
    ::kill(pid, SIGTERM);
    // Gone, not only its window: the next copy must not find it running.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)), 20000);
}

QTEST_MAIN(tst_WaylandPick)
#include "tst_wayland_pick.moc"
