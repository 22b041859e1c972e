#include "door_call.h"
#include "session_bus.h"
#include "tinctor_process.h"
#include "x_pixels.h"

#include <csignal>

#include <QtTest>

// A real pick on a real X server: the colours on screen are the window's own
// swatches, and the pointer and buttons are driven from outside.
class tst_ScreenPick : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void followsLiveAndRightRestores();
    void leftKeepsTheLastColour();
    void restingPointerSeesTheScreenChange();
    void pointerHeldAMomentIsWaitedFor();
    void keysNudgeKeepOrRestore_data();
    void keysNudgeKeepOrRestore();
    // Ends the suite's copy of the program.
    void killedMidPickLeavesThePointerFree();
    void launcherDoor_data();
    void launcherDoor();
    void farSideOfAWideScreen();

private:
    void StartPick();
    void MoveTo(QPoint at)
    {
        x_->Run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
    }
    void Click(int button) { x_->Run("xdotool", {"click", QString::number(button)}); }
    QPoint Swatch(int index) const;
    QColor Preview() const
    {
        return x_pixels::ScreenPixel(x_->Display(), client_ + QPoint(22, 22));
    }

    std::unique_ptr<XSession> x_;
    QTemporaryDir folder_;
    std::unique_ptr<TinctorProcess> tinctor_;
    QString window_;
    QPoint client_; // top-left of the client area, below the menu bar
    std::unique_ptr<SessionBus> bus_;
};

void tst_ScreenPick::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
    bus_ = std::make_unique<SessionBus>(x_->Environment());
    QVERIFY(bus_->IsUp());
    WriteFile(folder_.filePath("tinctor.ini"), "[Color]\nRed=18\nGreen=52\nBlue=86\n");
    tinctor_ = std::make_unique<TinctorProcess>(*x_, TinctorProcess::Install(folder_));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    window_ = x_->VisibleWindows(QStringLiteral("Tinctor")).first();
    // The client area lies below the menu bar, at the bottom of the window.
    const QRect inside = x_->WindowGeometry(window_);
    client_ = QPoint(inside.x(), inside.bottom() + 1 - 320);
    QTRY_COMPARE(Preview(), QColor(18, 52, 86));
}

void tst_ScreenPick::cleanupTestCase()
{
    if (tinctor_)
        tinctor_->Terminate();
}

QPoint tst_ScreenPick::Swatch(int index) const
{
    // Frame3 at 96, 8; swatch i at 16 + 16 (i mod 8), 24 + 16 (i div 8); 16 square.
    return client_ + QPoint(120 + 16 * (index % 8), 40 + 16 * (index / 8));
}

void tst_ScreenPick::StartPick()
{
    MoveTo(Swatch(0) + QPoint(0, 60));
    x_->Run("xdotool", {"windowactivate", "--sync", window_});
    x_->Run("xdotool", {"key", "--delay", "100", "alt+e", "p"});
    QTRY_VERIFY_WITH_TIMEOUT(!x_pixels::PointerIsFree(x_->Display()), 5000);
}

void tst_ScreenPick::followsLiveAndRightRestores()
{
    StartPick();
    MoveTo(Swatch(4));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(128, 0, 0), 5000);
    // The overlay lies on the pixel under the pointer, in its colour.
    QCOMPARE(x_pixels::ScreenPixel(x_->Display(), Swatch(4)), QColor(128, 0, 0));
    const QString tree = x_->Run("xwininfo", {"-root", "-children"});
    QVERIFY2(tree.contains(QStringLiteral("1x1+%1+%2").arg(Swatch(4).x()).arg(Swatch(4).y())),
        qPrintable(tree));

    MoveTo(Swatch(12));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(255, 0, 0), 5000);
    Click(2); // the middle button lets the pick go on
    x_->Run("xdotool", {"key", "a"}); // and so does a key
    MoveTo(Swatch(9));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(0, 0, 255), 5000);
    for (int i = 0; i < 16; ++i)
        MoveTo(Swatch(i));
    Click(3);
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(18, 52, 86), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
}

void tst_ScreenPick::leftKeepsTheLastColour()
{
    StartPick();
    MoveTo(Swatch(13));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(255, 0, 255), 5000);
    Click(1);
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
    MoveTo(Swatch(10)); // no longer followed
    QTest::qWait(200);
    QCOMPARE(Preview(), QColor(255, 0, 255));
}

void tst_ScreenPick::restingPointerSeesTheScreenChange()
{
    // The bare root in the far corner, changed by another program while the
    // pointer stays on it.
    const QPoint corner(1270, 1014);
    const QColor before = Preview();
    StartPick();
    MoveTo(corner);
    for (const QColor colour : {QColor(32, 64, 96), QColor(96, 64, 32)}) {
        x_pixels::PaintRoot(x_->Display(), colour);
        QTRY_COMPARE_WITH_TIMEOUT(Preview(), colour, 5000);
    }
    Click(3);
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), before, 5000);
}

void tst_ScreenPick::pointerHeldAMomentIsWaitedFor()
{
    MoveTo(Swatch(0) + QPoint(0, 60));
    x_->Run("xdotool", {"windowactivate", "--sync", window_});
    {
        const x_pixels::PointerHold menu(x_->Display());
        QVERIFY(menu.Held());
        x_->Run("xdotool", {"key", "--delay", "100", "alt+e", "p"});
        QTest::qWait(150);
    }
    // The pick has the grab, so the click is its own and reaches no other window.
    QTRY_VERIFY_WITH_TIMEOUT(!x_pixels::PointerIsFree(x_->Display()), 5000);
    Click(3);
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
}

void tst_ScreenPick::killedMidPickLeavesThePointerFree()
{
    StartPick();
    MoveTo(Swatch(2));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(0, 128, 0), 5000);
    const QByteArray before = ReadFile(folder_.filePath("tinctor.ini"));
    tinctor_->Process().kill();
    QVERIFY(tinctor_->Process().waitForFinished(5000));
    tinctor_.reset();
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
    QCOMPARE(ReadFile(folder_.filePath("tinctor.ini")), before);
}

void tst_ScreenPick::farSideOfAWideScreen()
{
    // A root as wide as three monitors side by side, the window saved on
    // the right-hand one: reads and pointer positions span all of it.
    XSession wide(true, QStringLiteral("5760x1080x24"));
    QVERIFY(wide.IsUp());
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"),
        "[Window]\nPosX=75000\nPosY=1500\n[Color]\nRed=18\nGreen=52\nBlue=86\n");
    TinctorProcess tinctor(wide, TinctorProcess::Install(folder));
    QVERIFY(wide.WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QString window = wide.VisibleWindows(QStringLiteral("Tinctor")).first();
    const QRect inside = wide.WindowGeometry(window);
    const QPoint client(inside.x(), inside.bottom() + 1 - 320);
    QVERIFY2(client.x() >= 3840, qPrintable(QString::number(client.x())));
    const auto preview
        = [&] { return x_pixels::ScreenPixel(wide.Display(), client + QPoint(22, 22)); };
    QTRY_COMPARE(preview(), QColor(18, 52, 86));

    const auto moveTo = [&](QPoint at) {
        wide.Run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
    };
    moveTo(client + QPoint(10, 150));
    wide.Run("xdotool", {"windowactivate", "--sync", window});
    wide.Run("xdotool", {"key", "--delay", "100", "alt+e", "p"});
    QTRY_VERIFY_WITH_TIMEOUT(!x_pixels::PointerIsFree(wide.Display()), 5000);
    moveTo(client + QPoint(120 + 16 * 3, 40 + 16)); // the aqua swatch
    QTRY_COMPARE_WITH_TIMEOUT(preview(), QColor(0, 255, 255), 5000);
    wide.Run("xdotool", {"click", "1"});
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(wide.Display()), 5000);
    QCOMPARE(tinctor.Terminate(), 0);
}

void tst_ScreenPick::keysNudgeKeepOrRestore_data()
{
    QTest::addColumn<QStringList>("keys"); // from the middle of the maroon swatch
    QTest::addColumn<QColor>("kept"); // invalid: the colour from before

    QStringList right16;
    for (int i = 0; i < 16; ++i)
        right16 << QStringLiteral("Right");
    QTest::newRow("Right to the next swatch, Return keeps")
        << (right16 + QStringList{"Return"}) << QColor(128, 0, 128);
    QTest::newRow("Shift+Down by ten, Down by one, Space keeps") << QStringList{"shift+Down",
        "Down", "Down", "Down", "Down", "Down", "Down", "space"} << QColor(255, 0, 0);
    QTest::newRow("Escape puts back") << (right16 + QStringList{"Escape"}) << QColor();
}

void tst_ScreenPick::keysNudgeKeepOrRestore()
{
    QFETCH(QStringList, keys);
    QFETCH(QColor, kept);

    const QColor before = Preview();
    StartPick();
    MoveTo(Swatch(4));
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), QColor(128, 0, 0), 5000);
    x_->Run("xdotool", QStringList{"key", "--delay", "20"} + keys);
    QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(Preview(), kept.isValid() ? kept : before, 5000);
}

void tst_ScreenPick::launcherDoor_data()
{
    QTest::addColumn<QString>("method"); // of org.freedesktop.Application
    QTest::addColumn<QStringList>("arguments"); // in gdbus's notation
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("answered"); // else refused with an error
    QTest::addColumn<bool>("picks");

    const QStringList pick{"pick", "[]", "{}"};
    QTest::newRow("the shortcut's command")
        << "ActivateAction" << pick << "shortcut" << true << true;
    QTest::newRow("the pick action, not running")
        << "ActivateAction" << pick << "not running" << true << true;
    QTest::newRow("the pick action, minimised")
        << "ActivateAction" << pick << "minimised" << true << true;
    QTest::newRow("a thousand picks at once")
        << "ActivateAction" << pick << "a thousand calls" << true << true;
    QTest::newRow("the pick action over the version dialog")
        << "ActivateAction" << pick << "version dialog" << true << false;
    QTest::newRow("activation, minimised")
        << "Activate" << QStringList{"{}"} << "minimised" << true << false;
    QTest::newRow("an unknown action")
        << "ActivateAction" << QStringList{"paint", "[]", "{}"} << "" << false << false;
    QTest::newRow("the pick with a parameter")
        << "ActivateAction" << QStringList{"pick", "[<1>]", "{}"} << "" << false << false;
    QTest::newRow("a file to open")
        << "Open" << QStringList{"['file:///tmp/x.png']", "{}"} << "" << false << false;
    QTest::newRow("the pick action from another user")
        << "ActivateAction" << pick << "another user" << false << false;
}

void tst_ScreenPick::launcherDoor()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, situation);
    QFETCH(bool, answered);
    QFETCH(bool, picks);

    // Each row's copy must be the one that runs.
    if (tinctor_) {
        QCOMPARE(tinctor_->Terminate(), 0);
        tinctor_.reset();
    }
    const QString name = QStringLiteral("org.vantrel.Tinctor");
    const QProcessEnvironment env = bus_->Environment();
    QTemporaryDir folder;
    const QString program = TinctorProcess::Install(folder);
    std::unique_ptr<TinctorProcess> tinctor;
    if (situation == "not running") {
        bus_->ProvideService(name, program);
    } else {
        tinctor = std::make_unique<TinctorProcess>(*x_, program, QStringList{}, env);
        QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
        QTRY_COMPARE(bus_->OwnerOf(name), tinctor->Process().processId());
        // A second start hands over to the first copy and leaves it the door.
        TinctorProcess second(*x_, program, {}, env);
        QCOMPARE(second.Finished(), 0);
        QCOMPARE(bus_->OwnerOf(name), tinctor->Process().processId());
    }
    const QString main = x_->VisibleWindows(QStringLiteral("Tinctor")).value(0);
    const QString dialog = QString::fromUtf8("バージョン情報");
    if (situation == "version dialog") {
        x_->Run("xdotool", {"windowactivate", "--sync", main});
        x_->Run("xdotool", {"key", "--delay", "100", "F10", "h", "a"});
        QVERIFY(x_->WaitForWindows(dialog, 1));
    }
    // Another window has the focus, as when a shortcut or a launcher calls.
    QProcess other;
    other.setProcessEnvironment(env);
    other.start("xmessage", {"-geometry", "+0+0", "Other"});
    QVERIFY(x_->WaitForWindows(QStringLiteral("xmessage"), 1));
    const auto active = [this] { return x_->Run("xdotool", {"getactivewindow", "getwindowname"}); };
    x_->Run("xdotool",
        {"windowactivate", "--sync", x_->VisibleWindows(QStringLiteral("xmessage")).first()});
    QTRY_COMPARE(active(), QStringLiteral("xmessage"));
    if (situation == "minimised") {
        x_->Run("xdotool", {"windowminimize", "--sync", main});
        QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    }

    const DoorCall door(situation, method, arguments);
    const auto call = [&] {
        QProcess client;
        client.setProcessEnvironment(env);
        QStringList command
            = (situation == "another user" ? AsNobody() : QStringList{}) + door.command;
        client.start(command.takeFirst(), command);
        return door.Answer(client);
    };
    const auto [ok, said] = call();
    QVERIFY2(ok == answered, said.constData());
    if (situation == "a thousand calls")
        QCOMPARE(said.trimmed(), QByteArray("1000 0"));
    if (picks) {
        QTRY_VERIFY_WITH_TIMEOUT(!x_pixels::PointerIsFree(x_->Display()), 10000);
        // Called again during the pick: still the one pick, ended by one key
        // in the window, which has come forward.
        QVERIFY(call().first);
        QTRY_COMPARE(active(), QStringLiteral("Tinctor"));
        x_->Run("xdotool", {"key", "Escape"});
        QTRY_VERIFY_WITH_TIMEOUT(x_pixels::PointerIsFree(x_->Display()), 5000);
    }
    QTest::qWait(300);
    QVERIFY(x_pixels::PointerIsFree(x_->Display()));
    if (answered) {
        // The dialog keeps its place in front of the window.
        QTRY_COMPARE(active(), situation == "version dialog" ? dialog : QStringLiteral("Tinctor"));
    } else {
        QCOMPARE(active(), QStringLiteral("xmessage"));
    }
    other.kill();
    other.waitForFinished();
    if (tinctor) {
        QCOMPARE(tinctor->Terminate(), 0);
        return;
    }
    // The copy the bus started ends as a logout ends it.
    const qint64 pid = bus_->OwnerOf(name);
    QVERIFY(pid > 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)), 20000);
}

QTEST_GUILESS_MAIN(tst_ScreenPick)
#include "tst_screen_pick.moc"
