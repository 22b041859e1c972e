#include "tinctor_process.h"
#include "wayland_session.h"

#include <QtTest>

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

private:
    // Installs the program in a folder of its own that the session's user
    // may write, and starts it there.
    std::unique_ptr<TinctorProcess> Start(const QString& qtPlatform = QStringLiteral("wayland"));

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

void tst_Wayland::nativeStartShowsOneWindow()
{
    auto tinctor = Start();
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QJsonObject window = desktop_->Windows(QStringLiteral("Tinctor")).first();
    QCOMPARE(window.value("shell").toString(), QStringLiteral("xdg_shell"));
    QCOMPARE(window.value("app_id").toString(), QStringLiteral("tinctor"));
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

QTEST_GUILESS_MAIN(tst_Wayland)
#include "tst_wayland.moc"
