#include "colour/derived_colours.h"
#include "colour/notations.h"
#include "colour/pasted_colour.h"

#include <QtTest>

// The five clipboard notations, read back from a paste, and the two derived
// colours.
class tst_Notations : public QObject {
    Q_OBJECT

private slots:
    void copyText_data();
    void copyText();
    void letterCase();
    void readsPastedText_data();
    void readsPastedText();
    void readsBackWhatItCopies();
    void derivedColours_data();
    void derivedColours();
    void bothAreTheirOwnInverse();
};

void tst_Notations::copyText_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<QStringList>("texts"); // HTML, VB, C, DWORD, RGB function

    QTest::newRow("12 34 56") << 0x12 << 0x34 << 0x56
                              << QStringList{"#123456", "&H563412&", "0x563412", "5649426",
                                     "RGB(18,52,86)"};
    QTest::newRow("AB 0C 01") << 0xAB << 0x0C << 0x01
                              << QStringList{
                                     "#ab0c01", "&H10CAB&", "0x010cab", "68779", "RGB(171,12,1)"};
    QTest::newRow("pure red") << 255 << 0 << 0
                              << QStringList{"#ff0000", "&HFF&", "0x0000ff", "255", "RGB(255,0,0)"};
    QTest::newRow("black") << 0 << 0 << 0
                           << QStringList{"#000000", "&H0&", "0x000000", "0", "RGB(0,0,0)"};
    QTest::newRow("white") << 255 << 255 << 255
                           << QStringList{"#ffffff", "&HFFFFFF&", "0xffffff", "16777215",
                                  "RGB(255,255,255)"};
}

void tst_Notations::copyText()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(QStringList, texts);
    for (int n = 0; n < 5; ++n)
        QCOMPARE(QString::fromStdString(colour::CopyText(r, g, b, colour::Notation(n))), texts[n]);
}

void tst_Notations::letterCase()
{
    // Every colour whose hexadecimal digits include letters, on a grid.
    for (int r = 0; r < 256; r += 17) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 13) {
                const QString html
                    = QString::fromStdString(colour::CopyText(r, g, b, colour::Html));
                const QString vb
                    = QString::fromStdString(colour::CopyText(r, g, b, colour::VisualBasic));
                const QString c = QString::fromStdString(colour::CopyText(r, g, b, colour::C));
                QCOMPARE(html, html.toLower());
                QCOMPARE(c.mid(2), c.mid(2).toLower());
                QCOMPARE(vb.mid(2), vb.mid(2).toUpper());
                QCOMPARE(html.size(), 7);
                QCOMPARE(c.size(), 8);
            }
        }
    }
}

void tst_Notations::readsPastedText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("colour"); // "r g b", or empty: not a whole colour

    const auto row = [](const char* text, const char* colour) {
        QTest::newRow(text) << QByteArray(text) << QString::fromLatin1(colour);
    };
    row("#1e90ff", "30 144 255");
    row("  #1E90FF\r\n", "30 144 255");
    row("#1e9", "17 238 153");
    row("&hff901e&", "30 144 255");
    row("0xFF901E", "30 144 255");
    row("0xff", "255 0 0");
    row("16748574", "30 144 255");
    row("rgb(30, 144, 255)", "30 144 255");
    row("RGB( 30 144 255 )", "30 144 255");
    row("hsl(0, 100%, 50%)", "255 0 0");
    row("hsl(120 100% 25%)", "0 128 0");
    row("HSL(209.6, 100%, 55.9%)", "30 144 255");
    row("hsl(360, 0%, 50%)", "128 128 128");
    // A box's own value, or no colour at all.
    row("128", "");
    row("FF", "");
    row("#12345", "");
    row("#1e90ff;", "");
    row("&HFF901E", "");
    row("0x1000000", "");
    row("16777216", "");
    row("rgb(300, -4, 1e9)", "");
    row("rgb(1, 2 3)", "");
    row("rgb(1, 2, 3, 4)", "");
    row("rgba(1, 2, 3)", "");
    row("hsl(361, 10%, 10%)", "");
    row("hsl(10, 10, 10%)", "");
    row("hsl(nan, 10%, 10%)", "");
    row("#1e90ff #000000", "");
    row("", "");
}

void tst_Notations::readsPastedText()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, colour);
    const std::optional<colour::Rgb> read
        = colour::ReadColourText(std::string_view(text.constData(), text.size()));
    QCOMPARE(read ? QStringLiteral("%1 %2 %3").arg(read->r).arg(read->g).arg(read->b) : QString(),
        colour);
}

void tst_Notations::readsBackWhatItCopies()
{
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 17) {
                for (int n = 0; n < 5; ++n) {
                    const std::string text = colour::CopyText(r, g, b, colour::Notation(n));
                    // Three digits or fewer are a channel's value.
                    const bool channelValue = n == colour::Dword && text.size() < 4;
                    const std::optional<colour::Rgb> expected
                        = channelValue ? std::nullopt : std::optional(colour::Rgb{r, g, b});
                    QVERIFY2(colour::ReadColourText(text) == expected, text.c_str());
                }
            }
        }
    }
}

void tst_Notations::derivedColours_data()
{
    QTest::addColumn<QList<int>>("colour");
    QTest::addColumn<QList<int>>("inverted");
    QTest::addColumn<QList<int>>("complement");
    const auto row = [](const char* name, QList<int> c, QList<int> i, QList<int> k) {
        QTest::newRow(name) << c << i << k;
    };
    row("18 52 86", {18, 52, 86}, {237, 203, 169}, {86, 52, 18});
    row("black", {0, 0, 0}, {255, 255, 255}, {0, 0, 0});
    row("red", {255, 0, 0}, {0, 255, 255}, {0, 255, 255});
    row("orange", {255, 128, 0}, {0, 127, 255}, {0, 127, 255});
    row("maroon", {128, 0, 0}, {127, 255, 255}, {0, 128, 128});
    row("10 200 30", {10, 200, 30}, {245, 55, 225}, {200, 10, 180});
    row("grey", {100, 100, 100}, {155, 155, 155}, {100, 100, 100});
}

void tst_Notations::derivedColours()
{
    QFETCH(QList<int>, colour);
    QFETCH(QList<int>, inverted);
    QFETCH(QList<int>, complement);
    const colour::Rgb i = colour::Invert(colour[0], colour[1], colour[2]);
    const colour::Rgb k = colour::Complement(colour[0], colour[1], colour[2]);
    QCOMPARE((QList<int>{i.r, i.g, i.b}), inverted);
    QCOMPARE((QList<int>{k.r, k.g, k.b}), complement);
}

void tst_Notations::bothAreTheirOwnInverse()
{
    int failures = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                const colour::Rgb k = colour::Complement(r, g, b);
                const colour::Rgb i = colour::Invert(r, g, b);
                const colour::Rgb original{r, g, b};
                failures += colour::Complement(k.r, k.g, k.b) != original;
                failures += colour::Invert(i.r, i.g, i.b) != original;
                failures += k.r < 0 || k.r > 255 || k.g < 0 || k.g > 255 || k.b < 0 || k.b > 255;
            }
        }
    }
    QCOMPARE(failures, 0);
}

QTEST_APPLESS_MAIN(tst_Notations)
#include "tst_notations.moc"
