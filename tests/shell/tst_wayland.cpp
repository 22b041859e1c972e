#include "tinctor_process.h"
#include "wayland_session.h"

#include <QtTest>

#include <linux/input-event-codes.h>

// The real program on a headless Wayland desktop, natively and under its
// Xwayland, all on one desktop shared by the suite.
class tst_Wayland : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void nativeStartShowsOneWindow();
    void secondCopiesOfTheSessionEnd_data();
    void secondCopiesOfTheSessionEnd();
    void storedPositionSurvivesANativeRun();
    void secondStartBringsTheFirstForward_data();
    void copyReachesOtherPrograms_data();
    void copyReachesOtherPrograms();
    void secondStartBringsTheFirstForward();
    // Last: it ends the suite's desktop.
    void compositorGoesAway();

private:
    // Installs the program in a folder of its own that the session's user
    // may write, and starts it there.
    std::unique_ptr<TinctorProcess> Start(const QString& qtPlatform = QStringLiteral("wayland"));
    // Stores the colour 18 52 86 for the next start; returns the settings file.
    QString StoreColour() const;

    std::unique_ptr<WaylandSession> desktop_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString program_;
};

void tst_Wayland::initTestCase()
{
    desktop_ = std::make_unique<WaylandSession>();
    QVERIFY2(desktop_->IsUp(), "sway did not start");
    QVERIFY(!desktop_->XDisplay().isEmpty());
}

void tst_Wayland::init()
{
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    folder_ = std::make_unique<QTemporaryDir>();
    desktop_->ShareFolder(folder_->path());
    program_ = TinctorProcess::Install(*folder_);
}

std::unique_ptr<TinctorProcess> tst_Wayland::Start(const QString& qtPlatform)
{
    return std::make_unique<TinctorProcess>(
        program_, desktop_->AsSessionUser(), desktop_->Environment(qtPlatform));
}

QString tst_Wayland::StoreColour() const
{
    const QString settings = folder_->filePath(QStringLiteral("tinctor.ini"));
    WriteFile(settings, "[Color]\nRed=18\nGreen=52\nBlue=86\n");
    desktop_->ShareFolder(settings);
    return settings;
}

void tst_Wayland::nativeStartShowsOneWindow()
{
    auto tinctor = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QJsonObject window = desktop_->Windows(QStringLiteral("Tinctor")).first();
    QCOMPARE(window.value("shell").toString(), QStringLiteral("xdg_shell"));
    // The desktop entry's id, by which the desktop finds name and icon.
    QCOMPARE(window.value("app_id").toString(), QStringLiteral("org.vantrel.Tinctor"));
    QCOMPARE(tinctor->Terminate(), 0);
}

void tst_Wayland::secondCopiesOfTheSessionEnd_data()
{
    QTest::addColumn<QString>("second");
    QTest::newRow("a second native copy") << "wayland";
    QTest::newRow("an Xwayland copy beside the native one") << "xcb";
}

void tst_Wayland::secondCopiesOfTheSessionEnd()
{
    QFETCH(QString, second);
    auto first = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    auto again = Start(second);
    QCOMPARE(again->Finished(5000), 0);
    QCOMPARE(desktop_->Windows(QStringLiteral("Tinctor")).size(), 1);
    QCOMPARE(first->Terminate(), 0);
}

void tst_Wayland::storedPositionSurvivesANativeRun()
{
    // A native window cannot tell its place: the place an X11 run stored
    // stays for the next X11 run, and the colour is saved as ever.
    const QString settings = folder_->filePath(QStringLiteral("tinctor.ini"));
    WriteFile(settings, "[Window]\nPosX=1500\nPosY=1200\n[Color]\nRed=7\n");
    desktop_->ShareFolder(settings);
    auto tinctor = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(tinctor->Terminate(), 0);
    QCOMPARE(ReadFile(settings),
        QByteArray("[Window]\nPosX=1500\nPosY=1200\n[Color]\nRed=7\nGreen=255\nBlue=255\nRGB=0\n"
                   "Mode=0\n"));
}

void tst_Wayland::secondStartBringsTheFirstForward_data()
{
    QTest::addColumn<bool>("launcherToken");
    QTest::addColumn<bool>("clickedBefore");
    QTest::newRow("with the launcher's token") << true << false;
    QTest::newRow("without a token: the running copy asks for one") << false << false;
    // The click's serial is stale once the launcher has the focus: a token
    // that named it would activate nothing.
    QTest::newRow("without a token, after a click in the running window") << false << true;
}

void tst_Wayland::secondStartBringsTheFirstForward()
{
    QFETCH(bool, launcherToken);
    QFETCH(bool, clickedBefore);
    auto first = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    if (clickedBefore) {
        QTRY_VERIFY(desktop_->Focused(QStringLiteral("Tinctor")));
        const QRect inside
            = WaylandSession::Inside(desktop_->Windows(QStringLiteral("Tinctor")).first());
        desktop_->Click(inside.center());
    }

    // The launcher takes the focus, and has a token ready for what it starts.
    QProcess launcher;
    desktop_->StartClient(launcher, QStringLiteral(WAYLAND_LAUNCHER_EXE));
    QVERIFY(launcher.waitForStarted());
    QByteArray token;
    QTRY_VERIFY_WITH_TIMEOUT((token += launcher.readAllStandardOutput()).contains('\n'), 10000);
    QVERIFY(!desktop_->Focused(QStringLiteral("Tinctor")));

    QProcessEnvironment env = desktop_->Environment();
    if (launcherToken)
        env.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QString::fromUtf8(token.trimmed()));
    TinctorProcess again(program_, desktop_->AsSessionUser(), env);
    QCOMPARE(again.Finished(5000), 0);
    QCOMPARE(desktop_->Windows(QStringLiteral("Tinctor")).size(), 1);
    QTRY_VERIFY(desktop_->Focused(QStringLiteral("Tinctor")));

    launcher.kill();
    launcher.waitForFinished();
    QCOMPARE(first->Terminate(), 0);
}

void tst_Wayland::copyReachesOtherPrograms_data()
{
    QTest::addColumn<bool>("byKeys");
    QTest::newRow("from the preview's menu") << false;
    QTest::newRow("by Alt+E, H") << true;
}

void tst_Wayland::copyReachesOtherPrograms()
{
    QFETCH(bool, byKeys);
    StoreColour();
    auto tinctor = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    // Keys go to the focused window: wait until the new one has the focus.
    QTRY_VERIFY(desktop_->Focused(QStringLiteral("Tinctor")));
    // The preview's menu, opened with the right button below the menu bar,
    // holds "HTML形式でコピー(&H)" first, just below and right of the pointer.
    const QRect inside
        = WaylandSession::Inside(desktop_->Windows(QStringLiteral("Tinctor")).first());
    const QPoint preview = inside.topLeft() + QPoint(48, 72);
    QString pasted;
    for (int attempt = 0; attempt < 3 && pasted != QLatin1String("#123456"); ++attempt) {
        // A retry starts from no open menu, and waits longer for one.
        desktop_->Chord({KEY_ESC});
        desktop_->Chord({KEY_ESC});
        const int wait = 300 * (attempt + 1); // a menu has no place in sway's tree to wait for
        if (byKeys) {
            desktop_->Chord({KEY_LEFTALT, KEY_E});
            QTest::qWait(wait);
            desktop_->Chord({KEY_H});
        } else {
            desktop_->Click(preview, Qt::RightButton);
            QTest::qWait(wait);
            desktop_->Click(preview + QPoint(30, 10));
        }
        QProcess paste;
        desktop_->StartClient(paste, QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")});
        QVERIFY(paste.waitForFinished(5000));
        pasted = QString::fromUtf8(paste.readAllStandardOutput());
    }
    QCOMPARE(pasted, QStringLiteral("#123456"));
    QCOMPARE(tinctor->Terminate(), 0);
}

void tst_Wayland::compositorGoesAway()
{
    const QString settings = StoreColour();
    auto tinctor = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_VERIFY(desktop_->Focused(QStringLiteral("Tinctor")));
    const QRect inside
        = WaylandSession::Inside(desktop_->Windows(QStringLiteral("Tinctor")).first());
    const QRect preview(inside.x() + 22, inside.bottom() + 1 - 298, 1, 1);
    desktop_->Chord({KEY_LEFTALT, KEY_G});
    desktop_->Chord({KEY_9});
    QTRY_COMPARE(desktop_->Grab(preview).pixelColor(0, 0), QColor(18, 9, 86));

    desktop_->KillCompositor();
    QVERIFY2(tinctor->Process().waitForFinished(5000), "still running without its compositor");
    QCOMPARE(ReadFile(settings), QByteArray("[Color]\nRed=18\nGreen=9\nBlue=86\nRGB=0\nMode=0\n"));
}

QTEST_GUILESS_MAIN(tst_Wayland)
#include "tst_wayland.moc"
