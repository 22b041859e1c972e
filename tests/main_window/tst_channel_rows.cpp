#include "form_driver.h"

#include "colour/channel_text.h"
#include "colour/conversions.h"

using namespace form_driver;

// The two rows of channel controls, typed into and dragged as a user does.
class tst_ChannelRows : public QObject {
    Q_OBJECT

private slots:
    void typingRgb_data();
    void typingRgb();
    void typingModel_data();
    void typingModel();
    void emptyBoxChangesNothing();
    void draggingRedOnBlack();
    void dragFollowsLive();
    void greyKeepsItsHue();
    void hueOnGreyMovesNothing();
    void modelChangeFocus();
    void lettersNeverReachModelBoxes();
    void oneChangeRunsBoundedReactions();
    void presentValueRunsNothing();
    void pastedJunkLeavesSaneState_data();
    void pastedJunkLeavesSaneState();
    void keysStepAChannel_data();
    void keysStepAChannel();

private:
    static void VerifyIdle(const ColorForm& form);
};

void tst_ChannelRows::VerifyIdle(const ColorForm& form)
{
    QVERIFY(!form.RGBChanging);
    QVERIFY(!form.ModeChanging);
}

void tst_ChannelRows::typingRgb_data()
{
    QTest::addColumn<int>("radix");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("red");
    QTest::addColumn<QString>("shown");

    // From red 128: the value after the last key, and what the box then shows.
    QTest::newRow("0") << 0 << "0" << 0 << "0";
    QTest::newRow("00 keeps its zeros") << 0 << "00" << 0 << "00";
    QTest::newRow("007 becomes 7") << 0 << "007" << 7 << "7";
    QTest::newRow("300 clamps") << 0 << "300" << 255 << "255";
    QTest::newRow("a ignored in decimal") << 0 << "a" << 128 << "128";
    QTest::newRow("minus ignored") << 0 << "-5" << 5 << "5";
    QTest::newRow("hex a shows A") << 1 << "a" << 10 << "A";
    QTest::newRow("hex F stays F") << 1 << "F" << 15 << "F";
    QTest::newRow("hex 1FF clamps") << 1 << "1FF" << 255 << "FF";
    QTest::newRow("hex g ignored") << 1 << "g" << 128 << "80";
    QTest::newRow("hex lower case") << 1 << "c8" << 200 << "C8";
}

void tst_ChannelRows::typingRgb()
{
    QFETCH(int, radix);
    QFETCH(QString, keys);
    QFETCH(int, red);
    QFETCH(QString, shown);

    auto form = Open(colour::HSV, radix, {128, 64, 32});
    Type(form->Text1[0], keys);

    QCOMPARE(form->HScroll1[0]->Value(), red);
    QCOMPARE(form->Text1[0]->Text(), shown);
    QCOMPARE(ModelRow(*form), colour::RgbToHsv(red, 64, 32));
    QCOMPARE(form->Label3->BackColor(), std::uint32_t(red | 64 << 8 | 32 << 16));
    QCOMPARE(QApplication::focusWidget(), form->Text1[0]);
    VerifyIdle(*form);
}

void tst_ChannelRows::typingModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("value");

    QTest::newRow("hue 400 clamps to 359") << 0 << 0 << "400"
                                           << "359" << 359;
    QTest::newRow("saturation 150 clamps to 100") << 0 << 1 << "150"
                                                  << "100" << 100;
    QTest::newRow("HLS lightness 100") << 1 << 1 << "100"
                                       << "100" << 100;
    QTest::newRow("YUV 300 clamps to 255") << 2 << 0 << "300"
                                           << "255" << 255;
    QTest::newRow("YUV U 300 clamps to 255") << 2 << 1 << "300"
                                             << "255" << 255;
    QTest::newRow("model boxes show the plain form") << 0 << 2 << "050"
                                                     << "50" << 50;
}

void tst_ChannelRows::typingModel()
{
    QFETCH(int, model);
    QFETCH(int, channel);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, value);

    auto form = Open(model, 0, {18, 52, 86});
    const colour::Triple before = ModelRow(*form);
    Type(form->Text2[channel], keys);

    QCOMPARE(form->Text2[channel]->Text(), shown);
    QCOMPARE(form->HScroll2[channel]->Value(), value);
    colour::Triple expected = before;
    (channel == 0 ? expected.c0 : channel == 1 ? expected.c1 : expected.c2) = value;
    QCOMPARE(ModelRow(*form), expected); // the other two are not re-derived
    const auto [r, g, b]
        = colour::ModelToRgb(expected.c0, expected.c1, expected.c2, colour::ColorModel(model));
    QCOMPARE(Colour(*form), (Rgb{r, g, b}));
    VerifyIdle(*form);
}

void tst_ChannelRows::emptyBoxChangesNothing()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    const colour::Triple model = ModelRow(*form);
    SelectAllByKeys(form->Text1[1]);
    QTest::keyClick(form->Text1[1], Qt::Key_Backspace);
    QCOMPARE(form->Text1[1]->Text(), QString());
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
    QCOMPARE(ModelRow(*form), model);
    QCOMPARE(form->Label3->BackColor(), 0x563412u);

    SelectAllByKeys(form->Text2[0]);
    QTest::keyClick(form->Text2[0], Qt::Key_Backspace);
    QCOMPARE(ModelRow(*form), model);
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
    VerifyIdle(*form);
}

void tst_ChannelRows::draggingRedOnBlack()
{
    auto form = Open(colour::HSV, 0, {0, 0, 0});
    form->Text2[1]->setFocus();
    DragThumbToEnd(form->HScroll1[0]);

    QCOMPARE(Colour(*form), (Rgb{255, 0, 0}));
    QCOMPARE(ModelRow(*form), (colour::Triple{0, 100, 100}));
    QCOMPARE(ModelTexts(*form), (QStringList{"0", "100", "100"}));
    QCOMPARE(form->Label3->BackColor(), 255u);
    QCOMPARE(QApplication::focusWidget(), form->Text1[0]);
    QCOMPARE(form->Text1[0]->selectedText(), QStringLiteral("255"));
    VerifyIdle(*form);
}

void tst_ChannelRows::dragFollowsLive()
{
    auto form = Open(colour::YUV, 1, {0, 0, 0});
    platform::ScrollBar* green = form->HScroll1[1];
    QList<Rgb> seenByPreview;
    connect(green, &platform::ScrollBar::Scroll, this, [&] {
        const std::uint32_t c = form->Label3->BackColor();
        seenByPreview << Rgb{int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)};
    });
    DragThumbToEnd(green);
    QVERIFY(seenByPreview.size() >= 2); // the preview followed during the drag
    QCOMPARE(seenByPreview.last(), (Rgb{0, 255, 0}));
    QCOMPARE(form->Text1[1]->Text(), QStringLiteral("FF"));
    QCOMPARE(ModelRow(*form), colour::RgbToYuv(0, 255, 0));
}

void tst_ChannelRows::greyKeepsItsHue()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    Type(form->Text2[0], QStringLiteral("200"));
    Type(form->Text2[1], QStringLiteral("0"));
    Type(form->Text2[2], QStringLiteral("50"));
    QCOMPARE(Colour(*form), (Rgb{128, 128, 128}));
    QCOMPARE(ModelRow(*form), (colour::Triple{200, 0, 50}));
    QCOMPARE(RgbTexts(*form), (QStringList{"128", "128", "128"}));

    auto hls = Open(colour::HLS, 1, {0, 0, 0});
    Type(hls->Text2[0], QStringLiteral("90"));
    Type(hls->Text2[1], QStringLiteral("50"));
    Type(hls->Text2[2], QStringLiteral("100"));
    QCOMPARE(Colour(*hls), (Rgb{127, 255, 0}));
    QCOMPARE(ModelRow(*hls), (colour::Triple{90, 50, 100}));
    QCOMPARE(RgbTexts(*hls), (QStringList{"7F", "FF", "00"}));
}

void tst_ChannelRows::hueOnGreyMovesNothing()
{
    auto form = Open(colour::HSV, 0, {128, 128, 128});
    QSignalSpy rgbTexts(form->Text1[0], &platform::TextBox::Change);
    DragThumbToEnd(form->HScroll2[0]);
    QCOMPARE(form->Text2[0]->Text(), QStringLiteral("359"));
    QCOMPARE(Colour(*form), (Rgb{128, 128, 128}));
    QCOMPARE(rgbTexts.count(), 0);
}

void tst_ChannelRows::modelChangeFocus()
{
    auto form = Open(colour::HLS, 0, {18, 52, 86});
    form->Text1[2]->setFocus();
    DragThumbToEnd(form->HScroll2[2], true);
    QCOMPARE(QApplication::focusWidget(), form->Text2[2]);
    QCOMPARE(form->Text2[2]->selectedText(), QStringLiteral("0")); // arrived from elsewhere
    VerifyIdle(*form);
}

void tst_ChannelRows::lettersNeverReachModelBoxes()
{
    auto form = Open(colour::YUV, 1, {18, 52, 86});
    const QString before = form->Text2[1]->Text();
    Type(form->Text2[1], QStringLiteral("aF-+ "));
    QCOMPARE(form->Text2[1]->Text(), before);
    QCOMPARE(ModelRow(*form), colour::RgbToYuv(18, 52, 86));
}

void tst_ChannelRows::oneChangeRunsBoundedReactions()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QList<QSignalSpy*> spies;
    for (int i = 0; i < 3; ++i) {
        spies << new QSignalSpy(form->HScroll1[i], &platform::ScrollBar::Change)
              << new QSignalSpy(form->HScroll2[i], &platform::ScrollBar::Change)
              << new QSignalSpy(form->Text1[i], &platform::TextBox::Change)
              << new QSignalSpy(form->Text2[i], &platform::TextBox::Change);
    }
    int most = 0;
    const auto total = [&] {
        int n = 0;
        for (QSignalSpy* spy : spies) {
            most = std::max(most, int(spy->count()));
            n += spy->count();
            spy->clear();
        }
        return n;
    };

    SelectAllByKeys(form->Text1[0]);
    QTest::keyClick(form->Text1[0], '9');
    const int afterRgbKey = total();
    SelectAllByKeys(form->Text2[0]);
    QTest::keyClick(form->Text2[0], '9');
    const int afterModelKey = total();
    qDeleteAll(spies);

    // Red text and bar, then at most three model bars and texts; the mirror
    // image for the model key.
    QVERIFY2(afterRgbKey >= 2 && afterRgbKey <= 8, qPrintable(QString::number(afterRgbKey)));
    QVERIFY2(afterModelKey >= 2 && afterModelKey <= 8, qPrintable(QString::number(afterModelKey)));
    QVERIFY2(most <= 2, "a control notified in circles");
}

void tst_ChannelRows::presentValueRunsNothing()
{
    auto form = Open(colour::HSV, 1, {18, 52, 86});
    QList<QSignalSpy*> spies;
    for (int i = 0; i < 3; ++i) {
        spies << new QSignalSpy(form->HScroll2[i], &platform::ScrollBar::Change)
              << new QSignalSpy(form->Text1[i], &platform::TextBox::Change);
    }
    const QString before = form->Text1[0]->Text();
    form->HScroll1[0]->SetValue(18);
    form->HScroll1[1]->SetValue(52);
    form->HScroll1[2]->SetValue(86);
    form->Text1[0]->SetText(before);
    for (QSignalSpy* spy : spies)
        QCOMPARE(spy->count(), 0);
    qDeleteAll(spies);
}

void tst_ChannelRows::pastedJunkLeavesSaneState_data()
{
    QTest::addColumn<int>("radix");
    QTest::addColumn<QString>("junk");
    const char* junk[] = {"abc", "1e2", " 12 ", "-5", "色相値", "１２３", "\t\n", "0x1"};
    for (int radix : {0, 1}) {
        for (const char* j : junk) {
            QTest::addRow("%s %s", radix ? "hex" : "dec", j) << radix << QString::fromUtf8(j);
        }
    }
}

void tst_ChannelRows::pastedJunkLeavesSaneState()
{
    QFETCH(int, radix);
    QFETCH(QString, junk);

    for (int box = 0; box < 6; ++box) {
        auto form = Open(colour::HLS, radix, {18, 52, 86});
        Paste(box < 3 ? form->Text1[box] : form->Text2[box - 3], junk);
        VerifyIdle(*form);

        // Every RGB box reads as its channel in the radix in force.
        const Rgb c = Colour(*form);
        for (int i = 0; i < 3; ++i) {
            const std::string text = form->Text1[i]->Text().toStdString();
            const auto read = radix ? colour::FromHex(text) : colour::FromDecimal(text);
            QVERIFY2(read && *read == (i == 0 ? c.r : i == 1 ? c.g : c.b), text.c_str());
            QCOMPARE(form->Text2[i]->Text(), QString::number(form->HScroll2[i]->Value()));
        }
        if (box < 3)
            QCOMPARE(ModelRow(*form), colour::RgbToHls(c.r, c.g, c.b));
        QCOMPARE(form->Label3->BackColor(), std::uint32_t(c.r | c.g << 8 | c.b << 16));
    }
}

void tst_ChannelRows::keysStepAChannel_data()
{
    QTest::addColumn<int>("radix");
    QTest::addColumn<QString>("control"); // focused first, by Tab from the red box where a bar
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QList<int>>("rgb"); // after the keys, from 128 64 32
    QTest::addColumn<QString>("shown"); // in the box that then has the focus
    QTest::addColumn<QString>("focused");

    const auto row = [](const char* name, int radix, const char* control, int key, int presses,
                         QList<int> rgb, const char* shown, const char* focused) {
        QTest::newRow(name) << radix << QString::fromLatin1(control) << key << presses << rgb
                            << QString::fromLatin1(shown) << QString::fromLatin1(focused);
    };
    row("Up in the red box", 0, "Text1(0)", Qt::Key_Up, 3, {131, 64, 32}, "131", "Text1(0)");
    row("Page Down in the green box", 0, "Text1(1)", Qt::Key_PageDown, 2, {128, 32, 32}, "32",
        "Text1(1)");
    row("Up held past the end, in hexadecimal", 1, "Text1(2)", Qt::Key_Up, 300, {128, 64, 255},
        "FF", "Text1(2)");
    row("Page Down held past 0", 0, "Text1(0)", Qt::Key_PageDown, 20, {0, 64, 32}, "0", "Text1(0)");
    // The model row from 128 64 32 is HSV 20 75 50; a model key moves one
    // channel of it, and the colour follows.
    const auto hsv = [](int h, int s, int v) {
        const auto [r, g, b] = colour::HsvToRgb(h, s, v);
        return QList<int>{r, g, b};
    };
    row("Page Down in the value box", 0, "Text2(2)", Qt::Key_PageDown, 1, hsv(20, 75, 34), "34",
        "Text2(2)");
    row("Right on the red bar", 0, "HScroll1(0)", Qt::Key_Right, 1, {129, 64, 32}, "129",
        "Text1(0)");
    row("Page Down on the blue bar", 1, "HScroll1(2)", Qt::Key_PageDown, 1, {128, 64, 42}, "2A",
        "Text1(2)");
    row("Left on the hue bar", 0, "HScroll2(0)", Qt::Key_Left, 1, hsv(19, 75, 50), "19",
        "Text2(0)");
}

void tst_ChannelRows::keysStepAChannel()
{
    QFETCH(int, radix);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(QList<int>, rgb);
    QFETCH(QString, shown);
    QFETCH(QString, focused);

    auto form = Open(colour::HSV, radix, {128, 64, 32});
    form->Text1[0]->setFocus();
    for (int tabs = 0; tabs < 12 && QApplication::focusWidget()->objectName() != control; ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), control);
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    QCOMPARE(Colour(*form), (Rgb{rgb[0], rgb[1], rgb[2]}));
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QCOMPARE(static_cast<platform::TextBox*>(QApplication::focusWidget())->Text(), shown);
    VerifyIdle(*form);
}

QTEST_MAIN(tst_ChannelRows)
#include "tst_channel_rows.moc"
