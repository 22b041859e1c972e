#include "kde_session.h"
#include "shell/tinctor_process.h"

#include <QtTest>

#include <linux/input-event-codes.h>

// The real program on a headless KDE Plasma desktop (KWin 5.27 and its
// portal, text at 11 pt), natively and under Xwayland, all on one desktop
// shared by the suite. One copy of the program has our menu entry
// installed, which grants it KWin's own screenshot; the other has none and
// picks through the portal.
class tst_Kde : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wholeAtTheDesktopTextSize_data();
    void wholeAtTheDesktopTextSize();
    void pickKeepsOrRestores_data();
    void pickKeepsOrRestores();
    void secondStartComesForward_data();
    void secondStartComesForward();
    void cleanupTestCase();

private:
    std::unique_ptr<TinctorProcess> Start(const QProcessEnvironment& env, bool granted = false);
    KdeSession::Window MainWindow() const
    {
        return desktop_->Windows(QStringLiteral("Tinctor")).value(0);
    }
    // How many outputs a pick's cover lies on.
    int Covers(const QString& platform) const;
    QByteArray ColourSaved(const QString& program) const;

    std::unique_ptr<KdeSession> desktop_;
    std::unique_ptr<QProcess> stripes_;
    QTemporaryDir folder_;
    QTemporaryDir grantedFolder_;
    QString program_;
    QString granted_;
};

namespace {

QByteArray Rgb(QColor colour)
{
    return "Red=" + QByteArray::number(colour.red()) + "\nGreen="
        + QByteArray::number(colour.green()) + "\nBlue=" + QByteArray::number(colour.blue()) + '\n';
}

const QColor kStored(200, 210, 220);

// Whether the column `x` of `area` in `image` holds text: pixels much darker
// than the area's most common colour, its background.
bool Inked(const QImage& image, const QRect& area, int x)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int column = area.left(); column <= area.right(); ++column)
            ++counts[image.pixel(column, y)];
    }
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(background))
            background = it.key();
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (qGray(image.pixel(x, y)) < qGray(background) - 80)
            return true;
    }
    return false;
}

} // namespace

void tst_Kde::initTestCase()
{
    program_ = TinctorProcess::Install(folder_);
    granted_ = TinctorProcess::Install(grantedFolder_);
    desktop_
        = std::make_unique<KdeSession>(QStringList{QStringLiteral(WAYLAND_LAUNCHER_EXE)}, granted_);
    QVERIFY2(desktop_->IsUp(), "KWin, its portal or its input did not start");
    // A window of red and blue columns on the second output, where the
    // pointer is, for the picks to read.
    desktop_->MoveTo(QPointF(2880, 540));
    stripes_ = std::make_unique<QProcess>();
    stripes_->setProcessEnvironment(desktop_->Environment());
    stripes_->start(QStringLiteral(STRIPES_WINDOW_EXE));
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Stripes"), 1));
    QVERIFY(QRect(1920, 0, 1920, 1080)
                .contains(desktop_->Windows(QStringLiteral("Stripes")).value(0).inside));
}

void tst_Kde::cleanupTestCase()
{
    if (stripes_) {
        stripes_->kill();
        stripes_->waitForFinished(3000);
    }
}

void tst_Kde::init()
{
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    for (const QTemporaryDir* folder : {&folder_, &grantedFolder_})
        WriteFile(folder->filePath(QStringLiteral("tinctor.ini")), "[Color]\n" + Rgb(kStored));
}

std::unique_ptr<TinctorProcess> tst_Kde::Start(const QProcessEnvironment& env, bool granted)
{
    // New windows open on the output with the pointer: the first one, away
    // from the stripes.
    desktop_->MoveTo(QPointF(960, 60));
    return std::make_unique<TinctorProcess>(granted ? granted_ : program_, QStringList{}, env);
}

int tst_Kde::Covers(const QString& platform) const
{
    if (platform == QLatin1String("wayland"))
        return desktop_->FullScreenWindows();
    // Override-redirect, an X client's covers are no windows of KWin's:
    // the X server lists them.
    QProcess xwininfo;
    xwininfo.setProcessEnvironment(desktop_->Environment());
    xwininfo.start(
        QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
    xwininfo.waitForFinished(5000);
    const QByteArray children = xwininfo.readAllStandardOutput();
    return int(children.contains("1920x1080+0+0")) + int(children.contains("1920x1080+1920+0"));
}

QByteArray tst_Kde::ColourSaved(const QString& program) const
{
    const QByteArray saved = ReadFile(program + QStringLiteral(".ini"));
    const qsizetype at = saved.indexOf("Red=");
    const qsizetype end = saved.indexOf("RGB=");
    return at < 0 || end < at ? saved : saved.mid(at, end - at);
}

void tst_Kde::wholeAtTheDesktopTextSize_data()
{
    QTest::addColumn<QString>("platform");
    QTest::newRow("wayland") << QStringLiteral("wayland");
    QTest::newRow("xcb") << QStringLiteral("xcb");
}

void tst_Kde::wholeAtTheDesktopTextSize()
{
    QFETCH(QString, platform);
    QProcessEnvironment env = desktop_->Environment(platform);
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    auto tinctor = Start(env);
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    // What the program tells assistive technology: each control's place and
    // caption, and where the menu bar puts its menus.
    QList<KdeSession::Control> controls;
    const auto hasMenus = [&controls] {
        return std::any_of(controls.cbegin(), controls.cend(),
            [](const KdeSession::Control& c) { return c.role == QLatin1String("menu item"); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        (controls = desktop_->Controls(tinctor->Process().processId()), hasMenus()), 10000);
    // KWin's place for an X window includes its title bar; the X client
    // knows where its inside is.
    const QRect inside
        = platform == QLatin1String("xcb") ? controls.first().extents : MainWindow().inside;
    const QImage shown = desktop_->Grab(inside);
    QVERIFY(!shown.isNull());

    QStringList cut;
    int menus = 0;
    for (const KdeSession::Control& control : controls) {
        const KdeSession::Control* parent
            = control.parent >= 0 ? &controls[control.parent] : nullptr;
        if (control.role == QLatin1String("menu item") && parent) {
            ++menus;
            if (!parent->extents.contains(control.extents))
                cut << control.name + QStringLiteral(" not in the menu bar");
        }
        // A label without a caption of its own is named after its frame.
        if (control.role != QLatin1String("label") || control.name.isEmpty() || !parent
            || control.name == parent->name)
            continue;
        const QRect box = control.extents;
        if (!parent->extents.contains(box))
            cut << control.name + QStringLiteral(" out of its frame");
        for (const KdeSession::Control& other : controls) {
            if (&other != &control && other.parent == control.parent
                && other.extents.intersects(box))
                cut << control.name + QStringLiteral(" under ") + other.role;
        }
        // A caption cut short by its own box has ink up to the box's edge.
        if (QRect(QPoint(), shown.size()).contains(box) && Inked(shown, box, box.right()))
            cut << control.name + QStringLiteral(" cut at its end");
    }
    QCOMPARE(menus, 4);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    // The entry whose icon KWin and the task manager show for the window.
    QCOMPARE(MainWindow().appId, QStringLiteral("org.vantrel.Tinctor"));
    QCOMPARE(tinctor->Terminate(), 0);
}

namespace {

// Where the pointer picks.
enum Place { Stripes, BareDesktop, MainWindowCorner };
// Whose screenshot the pick can take.
enum Way { Portal, KWin, KWinWithoutPortal };

} // namespace

void tst_Kde::pickKeepsOrRestores_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("place");
    QTest::addColumn<bool>("stays"); // there from before the pick, no motion after
    QTest::addColumn<bool>("watched"); // the main window's preview during the pick
    QTest::addColumn<int>("end"); // a button, or 0 for Escape
    QTest::addColumn<bool>("keeps");
    QTest::addColumn<int>("way");

    const int left = Qt::LeftButton;
    for (const QString& platform : {QStringLiteral("wayland"), QStringLiteral("xcb")}) {
        const QByteArray name = platform.toLatin1();
        QTest::newRow(name + ", left on the second output")
            << platform << int(Stripes) << false << true << left << true << int(Portal);
        QTest::newRow(name + ", left on the first output")
            << platform << int(BareDesktop) << false << false << left << true << int(Portal);
        QTest::newRow(name + ", left without a motion")
            << platform << int(MainWindowCorner) << true << false << left << true << int(Portal);
        QTest::newRow(name + ", right restores") << platform << int(Stripes) << false << false
                                                 << int(Qt::RightButton) << false << int(Portal);
        QTest::newRow(name + ", Escape restores")
            << platform << int(BareDesktop) << false << false << 0 << false << int(Portal);
        QTest::newRow(name + ", KWin's picture, left without a motion")
            << platform << int(MainWindowCorner) << true << false << left << true << int(KWin);
        QTest::newRow(name + ", KWin's picture with no portal, left on the second output")
            << platform << int(Stripes) << false << true << left << true << int(KWinWithoutPortal);
    }
    // The portal's picture holds the pointer where our windows cannot hide
    // it; KWin's never does.
    QTest::newRow("xcb, KWin's picture, left without a motion off our windows")
        << QStringLiteral("xcb") << int(BareDesktop) << true << false << left << true << int(KWin);
}

void tst_Kde::pickKeepsOrRestores()
{
    QFETCH(QString, platform);
    QFETCH(int, place);
    QFETCH(bool, stays);
    QFETCH(bool, watched);
    QFETCH(int, end);
    QFETCH(bool, keeps);
    QFETCH(int, way);

    QVERIFY(desktop_->SetPortal(way != KWinWithoutPortal));
    const auto portalBack = qScopeGuard([this] { desktop_->SetPortal(true); });
    auto tinctor = Start(desktop_->Environment(platform), way != Portal);
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_VERIFY(MainWindow().active); // keys go to the active window
    const QRect inside = MainWindow().inside;
    // The window's bare corner, where nothing lights up under the pointer
    // (KWin's idea of an X window's inside takes in its title bar).
    const QPoint at = place == Stripes
        ? desktop_->Windows(QStringLiteral("Stripes")).value(0).inside.center()
        : place == BareDesktop ? QPoint(40, 1000)
                               : QPoint(inside.right() - 3, inside.bottom() - 3);
    if (stays)
        desktop_->MoveTo(at);
    // KWin's own screenshot, without the pointer.
    const QImage under = desktop_->Grab(QRect(at, QSize(1, 1)));
    QVERIFY(!under.isNull());
    const QColor shown = under.pixelColor(0, 0);
    QVERIFY(shown != kStored);

    desktop_->Chord({KEY_LEFTALT, KEY_E});
    desktop_->Chord({KEY_P});
    QTRY_COMPARE_WITH_TIMEOUT(Covers(platform), 2, 10000);
    // KWin lists a cover before it shows it, and input before then goes to
    // what lay there.
    QThread::msleep(400);
    if (!stays)
        desktop_->MoveTo(at);
    if (watched) {
        // The preview, some 80 pixels square, is the one area of the
        // window that large in one colour; a swatch is much smaller.
        const auto previewShows = [&] {
            const QImage window = desktop_->Grab(inside);
            int same = 0;
            for (int y = 0; y < window.height(); ++y) {
                for (int x = 0; x < window.width(); ++x)
                    same += window.pixelColor(x, y) == shown;
            }
            return same > 60 * 60;
        };
        QTRY_VERIFY(previewShows());
    }
    if (end == 0)
        desktop_->Chord({KEY_ESC});
    else
        desktop_->ClickHere(static_cast<Qt::MouseButton>(end));
    QTRY_COMPARE(Covers(platform), 0);
    // The keys go on to the window the pick began from.
    QTRY_VERIFY(MainWindow().active);
    QCOMPARE(tinctor->Terminate(), 0);
    QCOMPARE(ColourSaved(way == Portal ? program_ : granted_), Rgb(keeps ? shown : kStored));
    QVERIFY2(QDir(desktop_->Pictures()).isEmpty(), "the pick left its screenshot behind");
}

void tst_Kde::secondStartComesForward_data()
{
    QTest::addColumn<bool>("launcherToken");
    QTest::newRow("with the launcher's token") << true;
    QTest::newRow("without a token: at least asks for attention") << false;
}

void tst_Kde::secondStartComesForward()
{
    QFETCH(bool, launcherToken);
    auto first = Start(desktop_->Environment());
    QVERIFY(desktop_->WaitForWindows(QStringLiteral("Tinctor"), 1));

    // The launcher takes the focus, and has a token ready for what it starts.
    QProcess launcher;
    launcher.setProcessEnvironment(desktop_->Environment());
    launcher.start(QStringLiteral(WAYLAND_LAUNCHER_EXE));
    const auto stop = qScopeGuard([&launcher] {
        launcher.kill();
        launcher.waitForFinished(3000);
    });
    QByteArray token;
    QTRY_VERIFY_WITH_TIMEOUT((token += launcher.readAllStandardOutput()).contains('\n'), 10000);
    QTRY_VERIFY(!MainWindow().active);

    QProcessEnvironment env = desktop_->Environment();
    if (launcherToken)
        env.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QString::fromUtf8(token.trimmed()));
    TinctorProcess again(program_, {}, env);
    QCOMPARE(again.Finished(5000), 0);
    QCOMPARE(desktop_->Windows(QStringLiteral("Tinctor")).size(), 1);
    if (launcherToken)
        QTRY_VERIFY(MainWindow().active);
    else
        QTRY_VERIFY(MainWindow().active || MainWindow().demandsAttention);
    QCOMPARE(first->Terminate(), 0);
}

QTEST_GUILESS_MAIN(tst_Kde)
#include "tst_kde.moc"
