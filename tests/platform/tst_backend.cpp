#include "platform/desktop/choose_desktop.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_sampler.h"

#include <QtTest>

Q_DECLARE_METATYPE(platform::Backend)

// Which desktop backend serves which Qt platform.
class tst_Backend : public QObject {
    Q_OBJECT

private slots:
    void backendForPlatform_data();
    void backendForPlatform();
    void qtAloneReadsNoScreenAndPlaces();
};

void tst_Backend::backendForPlatform_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("waylandSession");
    QTest::addColumn<platform::Backend>("backend");
    QTest::newRow("X11") << "xcb" << false << platform::Backend::X11;
    QTest::newRow("Xwayland") << "xcb" << true << platform::Backend::Xwayland;
    QTest::newRow("Wayland") << "wayland" << true << platform::Backend::Wayland;
    QTest::newRow("Wayland with EGL") << "wayland-egl" << true << platform::Backend::Wayland;
    QTest::newRow("offscreen") << "offscreen" << false << platform::Backend::Qt;
    QTest::newRow("before the application exists") << "" << false << platform::Backend::Qt;
}

void tst_Backend::backendForPlatform()
{
    QFETCH(QString, platform);
    QFETCH(bool, waylandSession);
    QFETCH(platform::Backend, backend);
    QCOMPARE(platform::BackendFor(platform, waylandSession), backend);
}

void tst_Backend::qtAloneReadsNoScreenAndPlaces()
{
    // The test runs offscreen: a pick there must refuse to start rather
    // than wait for a click no screen can give.
    platform::Desktop& desktop = platform::TheDesktop();
    QCOMPARE(&platform::TheDesktop(), &desktop); // chosen once
    QVERIFY(!desktop.Sampler().Prepare());
    QCOMPARE(desktop.Sampler().Pixel(QPoint(0, 0)), 0xFFFFFFFFu);
    QVERIFY(desktop.PlacesWindows());
}

QTEST_MAIN(tst_Backend)
#include "tst_backend.moc"
