#include "platform/controls/qt_color.h"
#include "platform/services/system_colours.h"

#include <QPalette>
#include <QtTest>

// The interface colours follow the palette where Qt has a role of the same
// meaning and keep the classic scheme elsewhere.
class tst_SystemColours : public QObject {
    Q_OBJECT

private slots:
    void fromPaletteOrClassic_data();
    void fromPaletteOrClassic();
    void paletteChangeShows();
};

namespace {

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
        p.setColor(QPalette::Inactive, role, QColor(n, 2 * n, 3 * n));
        ++n;
    }
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(99, 98, 97));
    return p;
}

} // namespace

void tst_SystemColours::fromPaletteOrClassic_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");
    const QPalette p = Marked();
    QTest::newRow("scroll bar: classic") << 0 << QColor(212, 208, 200);
    QTest::newRow("desktop: classic") << 1 << QColor(58, 110, 165);
    QTest::newRow("menu background") << 4 << p.color(QPalette::Window);
    QTest::newRow("window background") << 5 << p.color(QPalette::Base);
    QTest::newRow("menu text") << 7 << p.color(QPalette::WindowText);
    QTest::newRow("window text") << 8 << p.color(QPalette::Text);
    QTest::newRow("selected background") << 13 << p.color(QPalette::Highlight);
    QTest::newRow("selected text") << 14 << p.color(QPalette::HighlightedText);
    QTest::newRow("button face") << 15 << p.color(QPalette::Button);
    QTest::newRow("button shadow") << 16 << p.color(QPalette::Dark);
    QTest::newRow("greyed text") << 17 << QColor(99, 98, 97);
    QTest::newRow("button text") << 18 << p.color(QPalette::ButtonText);
    QTest::newRow("3-D highlight") << 20 << p.color(QPalette::Light);
    QTest::newRow("3-D dark shadow") << 21 << p.color(QPalette::Shadow);
    QTest::newRow("3-D light") << 22 << p.color(QPalette::Midlight);
    QTest::newRow("tooltip text") << 23 << p.color(QPalette::ToolTipText);
    QTest::newRow("tooltip background") << 24 << p.color(QPalette::ToolTipBase);
    QTest::newRow("hot-tracked item") << 26 << p.color(QPalette::Link);
    QTest::newRow("active gradient end: classic") << 27 << QColor(166, 202, 240);
    QTest::newRow("flat menu bar") << 30 << p.color(QPalette::Window);
    QTest::newRow("below the table") << -1 << QColor(0, 0, 0);
    QTest::newRow("above the table") << 31 << QColor(0, 0, 0);
}

void tst_SystemColours::fromPaletteOrClassic()
{
    QFETCH(int, index);
    QFETCH(QColor, expected);
    QCOMPARE(platform::ToQColor(platform::SystemColour(Marked(), index)), expected);
}

void tst_SystemColours::paletteChangeShows()
{
    QPalette p = Marked();
    const std::uint32_t before = platform::SystemColour(p, 15);
    p.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 250));
    QCOMPARE(platform::SystemColour(p, 15), 0xFA0201u);
    QVERIFY(before != 0xFA0201u);
}

QTEST_MAIN(tst_SystemColours)
#include "tst_system_colours.moc"
