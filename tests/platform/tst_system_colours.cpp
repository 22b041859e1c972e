#include "platform/controls/qt_color.h"
#include "platform/services/kde_globals.h"
#include "platform/services/system_colours.h"

#include <QDateTime>
#include <QFile>
#include <QPalette>
#include <QTemporaryDir>
#include <QtTest>

// Each interface colour comes from what the desktop says of it, else from
// the palette where Qt has a role of the same meaning, else from the classic
// scheme. KDE speaks through a written kdeglobals over a system one, GNOME
// through the portal's appearance answers.
class tst_SystemColours : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void entries_data();
    void entries();
    void kdeglobalsChangeShows();

private:
    QTemporaryDir config_;
};

namespace {

// Every role a distinct colour, so that a mix-up shows.
QPalette Marked()
{
    QPalette p;
    const QPalette::ColorRole roles[] = {QPalette::Window, QPalette::WindowText, QPalette::Base,
        QPalette::Text, QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Midlight,
        QPalette::Dark, QPalette::Shadow, QPalette::Highlight, QPalette::HighlightedText,
        QPalette::ToolTipBase, QPalette::ToolTipText, QPalette::Link};
    int n = 1;
    for (QPalette::ColorRole role : roles) {
        p.setColor(QPalette::Active, role, QColor(n, 2 * n, 3 * n));
        ++n;
    }
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(99, 98, 97));
    return p;
}

// The system's file: what the user's does not say, and one lock.
const char kSystemGlobals[] = R"([Colors:Window]
BackgroundNormal=1,2,3
ForegroundNormal=38,39,40

[Colors:View]
ForegroundLink=44,45,46

[WM]
inactiveBlend[$i]=32,33,34
)";

// A line of bytes that are no text, and one without a key.
const char kJunk[] = "\0\xff\xfe=\x01\n=5,5,5\n";

// The user's file, damaged where the rows say so.
QByteArray UserGlobals()
{
    return QByteArray(R"(# as Plasma writes it, with damage
[Colors:Button]
BackgroundNormal=52,53,54
ForegroundNormal=256,0,0

[Colors:Header]
BackgroundNormal=20,21
ForegroundNormal=#1a1b1c

[Colors:Header][Inactive]
BackgroundNormal=23,24,25
ForegroundNormal=not a colour

[Colors:Selection]
BackgroundNormal=ForestGreen
ForegroundNormal=47,48,49,50,51

[Colors:Tooltip]
ForegroundNormal=-1,55,56
)") + QByteArray(kJunk, sizeof kJunk - 1)
        + R"(BackgroundNormal=57,58,59

[Colors:View]
[unclosed
BackgroundNormal=41,42,43
ForegroundNormal=
ForegroundLink[$d]

[Colors:Window]
BackgroundNormal=35,36,37
ForegroundNormal[de]=9,9,9

[WM]
activeBackground=20,21,22
activeBlend=29,30,31,200
inactiveBlend=1,1,1
)";
}

void Write(const QString& path, const QByteArray& text, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), text.size());
    QVERIFY(file.flush()); // before the time is set, which a later write would move
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

platform::DesktopSays Says(const QString& source)
{
    using platform::Appearance;
    if (source == QLatin1String("KDE"))
        return platform::FromKdeGlobals(platform::CurrentKdeGlobals());
    if (source == QLatin1String("GNOME light"))
        return platform::FromAppearance(Appearance{0u, std::nullopt});
    if (source == QLatin1String("GNOME dark"))
        return platform::FromAppearance(Appearance{1u, std::array{0.2, 0.4, 0.6}});
    if (source == QLatin1String("GNOME accent out of range"))
        return platform::FromAppearance(Appearance{2u, std::array{1.5, 0.0, 0.0}});
    if (source == QLatin1String("GNOME silent"))
        return platform::FromAppearance(Appearance{});
    return {};
}

QColor Colour(const QString& source, int index)
{
    return platform::ToQColor(platform::SystemColour(Marked(), Says(source), index));
}

} // namespace

void tst_SystemColours::initTestCase()
{
    QVERIFY(config_.isValid());
    QVERIFY(QDir(config_.path()).mkpath(QStringLiteral("home")));
    QVERIFY(QDir(config_.path()).mkpath(QStringLiteral("system")));
    const QDateTime written = QDateTime::currentDateTime().addSecs(-60);
    Write(config_.filePath(QStringLiteral("system/kdeglobals")), kSystemGlobals, written);
    Write(config_.filePath(QStringLiteral("home/kdeglobals")), UserGlobals(), written);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(config_.filePath(QStringLiteral("system"))));
}

void tst_SystemColours::entries_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");
    const QPalette p = Marked();
    const QString palette = QStringLiteral("palette");
    QTest::newRow("scroll bar: classic") << palette << 0 << QColor(212, 208, 200);
    QTest::newRow("desktop: classic") << palette << 1 << QColor(58, 110, 165);
    QTest::newRow("active title bar: classic") << palette << 2 << QColor(10, 36, 106);
    QTest::newRow("menu background") << palette << 4 << p.color(QPalette::Window);
    QTest::newRow("window background") << palette << 5 << p.color(QPalette::Base);
    QTest::newRow("menu text") << palette << 7 << p.color(QPalette::WindowText);
    QTest::newRow("window text") << palette << 8 << p.color(QPalette::Text);
    QTest::newRow("selected background") << palette << 13 << p.color(QPalette::Highlight);
    QTest::newRow("selected text") << palette << 14 << p.color(QPalette::HighlightedText);
    QTest::newRow("button face") << palette << 15 << p.color(QPalette::Button);
    QTest::newRow("button shadow") << palette << 16 << p.color(QPalette::Dark);
    QTest::newRow("greyed text") << palette << 17 << QColor(99, 98, 97);
    QTest::newRow("button text") << palette << 18 << p.color(QPalette::ButtonText);
    QTest::newRow("3-D highlight") << palette << 20 << p.color(QPalette::Light);
    QTest::newRow("3-D dark shadow") << palette << 21 << p.color(QPalette::Shadow);
    QTest::newRow("3-D light") << palette << 22 << p.color(QPalette::Midlight);
    QTest::newRow("tooltip text") << palette << 23 << p.color(QPalette::ToolTipText);
    QTest::newRow("tooltip background") << palette << 24 << p.color(QPalette::ToolTipBase);
    QTest::newRow("hot-tracked item") << palette << 26 << p.color(QPalette::Link);
    QTest::newRow("active gradient end: classic") << palette << 27 << QColor(166, 202, 240);
    QTest::newRow("flat menu bar") << palette << 30 << p.color(QPalette::Window);
    QTest::newRow("below the table") << palette << -1 << QColor(0, 0, 0);
    QTest::newRow("above the table") << palette << 31 << QColor(0, 0, 0);

    const QString kde = QStringLiteral("KDE");
    QTest::newRow("KDE desktop: classic") << kde << 1 << QColor(58, 110, 165);
    QTest::newRow("KDE active bar: header junk, from WM") << kde << 2 << QColor(20, 21, 22);
    QTest::newRow("KDE inactive bar: inactive header") << kde << 3 << QColor(23, 24, 25);
    QTest::newRow("KDE menu background: home over system") << kde << 4 << QColor(35, 36, 37);
    QTest::newRow("KDE window: group after a broken header") << kde << 5 << QColor(41, 42, 43);
    QTest::newRow("KDE menu text: localised left, system's") << kde << 7 << QColor(38, 39, 40);
    QTest::newRow("KDE window text: empty") << kde << 8 << p.color(QPalette::Text);
    QTest::newRow("KDE bar text: #rrggbb") << kde << 9 << QColor(26, 27, 28);
    QTest::newRow("KDE active border: missing, classic") << kde << 10 << QColor(212, 208, 200);
    QTest::newRow("KDE inactive border: inactive header") << kde << 11 << QColor(23, 24, 25);
    QTest::newRow("KDE selection: colour name") << kde << 13 << QColor(34, 139, 34);
    QTest::newRow("KDE selected text: five parts")
        << kde << 14 << p.color(QPalette::HighlightedText);
    QTest::newRow("KDE button face") << kde << 15 << QColor(52, 53, 54);
    QTest::newRow("KDE button shadow: palette") << kde << 16 << p.color(QPalette::Dark);
    QTest::newRow("KDE button text: above 255") << kde << 18 << p.color(QPalette::ButtonText);
    QTest::newRow("KDE inactive text: junk, header's") << kde << 19 << QColor(26, 27, 28);
    QTest::newRow("KDE tooltip text: below 0") << kde << 23 << p.color(QPalette::ToolTipText);
    QTest::newRow("KDE tooltip: after binary junk") << kde << 24 << QColor(57, 58, 59);
    QTest::newRow("KDE link: deleted over system") << kde << 26 << p.color(QPalette::Link);
    QTest::newRow("KDE active blend: alpha dropped") << kde << 27 << QColor(29, 30, 31);
    QTest::newRow("KDE inactive blend: locked by system") << kde << 28 << QColor(32, 33, 34);
    QTest::newRow("KDE flat menu item") << kde << 29 << QColor(34, 139, 34);
    QTest::newRow("KDE flat menu bar") << kde << 30 << QColor(35, 36, 37);

    const QString light = QStringLiteral("GNOME light");
    const QString dark = QStringLiteral("GNOME dark");
    QTest::newRow("GNOME light bar") << light << 2 << QColor(235, 235, 235);
    QTest::newRow("GNOME light inactive text") << light << 19 << QColor(150, 150, 150);
    QTest::newRow("GNOME light gradient end") << light << 27 << QColor(235, 235, 235);
    QTest::newRow("GNOME no accent") << light << 13 << p.color(QPalette::Highlight);
    QTest::newRow("GNOME border: classic") << light << 10 << QColor(212, 208, 200);
    QTest::newRow("GNOME dark bar text") << dark << 9 << QColor(255, 255, 255);
    QTest::newRow("GNOME dark inactive bar") << dark << 3 << QColor(36, 36, 36);
    QTest::newRow("GNOME accent selects") << dark << 13 << QColor(51, 102, 153);
    QTest::newRow("GNOME accent, flat menu") << dark << 29 << QColor(51, 102, 153);
    QTest::newRow("GNOME accent out of range")
        << QStringLiteral("GNOME accent out of range") << 29 << p.color(QPalette::Highlight);
    QTest::newRow("GNOME portal silent")
        << QStringLiteral("GNOME silent") << 2 << QColor(10, 36, 106);
}

void tst_SystemColours::entries()
{
    QFETCH(QString, source);
    QFETCH(int, index);
    QFETCH(QColor, expected);
    QCOMPARE(Colour(source, index), expected);
}

void tst_SystemColours::kdeglobalsChangeShows()
{
    QCOMPARE(Colour(QStringLiteral("KDE"), 15), QColor(52, 53, 54));
    Write(config_.filePath(QStringLiteral("home/kdeglobals")),
        "[Colors:Button]\nBackgroundNormal=60,61,62\n", QDateTime::currentDateTime());
    QCOMPARE(Colour(QStringLiteral("KDE"), 15), QColor(60, 61, 62));
}

QTEST_MAIN(tst_SystemColours)
#include "tst_system_colours.moc"
