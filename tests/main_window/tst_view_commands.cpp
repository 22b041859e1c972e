#include "form_driver.h"

#include "platform/controls/frame.h"
#include "platform/controls/menu.h"

using namespace form_driver;

// The View menu's radix and model commands, chosen with the mouse.
class tst_ViewCommands : public QObject {
    Q_OBJECT

private slots:
    void radixRoundTrip();
    void checkedRadixDoesNothing();
    void modelValuesDoNotDrift();
    void switchRelabelsTheModelRow_data();
    void switchRelabelsTheModelRow();
    void clampShowsBeforeTheDerivedValues();
    void emptyHexBoxReadsAsZero();
    void emptyDecimalBoxKeepsItsChannel();
};

void tst_ViewCommands::radixRoundTrip()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QSignalSpy bars(form->HScroll1[0], &platform::ScrollBar::Change);

    Choose(*form, form->mnuView, form->mnuViewRGB[1]);
    QCOMPARE(RgbTexts(*form), (QStringList{"12", "34", "56"}));
    QVERIFY(form->mnuViewRGB[1]->Checked() && !form->mnuViewRGB[0]->Checked());
    QCOMPARE(form->Text1[2]->toolTip(), QStringLiteral("00～FF"));

    Choose(*form, form->mnuView, form->mnuViewRGB[0]);
    QCOMPARE(RgbTexts(*form), (QStringList{"18", "52", "86"}));
    QCOMPARE(form->Text1[0]->toolTip(), QStringLiteral("0～255"));
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
    QCOMPARE(bars.count(), 0);
}

void tst_ViewCommands::checkedRadixDoesNothing()
{
    auto form = Open(colour::HSV, 1, {5, 0, 255});
    QCOMPARE(RgbTexts(*form), (QStringList{"05", "00", "FF"}));
    SelectAllByKeys(form->Text1[0]);
    QTest::keyClick(form->Text1[0], 'A'); // "A" reads as 10 and stays short
    QSignalSpy texts(form->Text1[0], &platform::TextBox::Change);

    Choose(*form, form->mnuView, form->mnuViewRGB[1]);
    QCOMPARE(texts.count(), 0);
    QCOMPARE(form->Text1[0]->Text(), QStringLiteral("A"));
    QVERIFY(form->mnuViewRGB[1]->Checked());

    Choose(*form, form->mnuView, form->mnuViewRGB[0]);
    QCOMPARE(RgbTexts(*form), (QStringList{"10", "0", "255"}));
}

void tst_ViewCommands::modelValuesDoNotDrift()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QSignalSpy rgb(form->HScroll1[2], &platform::ScrollBar::Change);
    const colour::Triple hsv{210, 79, 34}, hls{210, 20, 65}, yuv{46, 150, 108};
    QCOMPARE(ModelRow(*form), hsv);

    const std::pair<int, colour::Triple> walk[]
        = {{1, hls}, {2, yuv}, {0, hsv}, {2, yuv}, {1, hls}, {1, hls}, {0, hsv}};
    for (const auto& [model, expected] : walk) {
        form->Text2[1]->setFocus();
        Choose(*form, form->mnuView, form->mnuViewMode[model]);
        QCOMPARE(ModelRow(*form), expected);
        QCOMPARE(ModelTexts(*form),
            (QStringList{QString::number(expected.c0), QString::number(expected.c1),
                QString::number(expected.c2)}));
        QCOMPARE(QApplication::focusWidget(), form->Text1[0]);
        QVERIFY(!form->RGBChanging && !form->ModeChanging);
    }
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
    QCOMPARE(rgb.count(), 0);
}

void tst_ViewCommands::switchRelabelsTheModelRow_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("captions"); // frame, then channels 0..2
    QTest::addColumn<QStringList>("tooltips");
    QTest::addColumn<QList<int>>("maxima");

    QTest::newRow("HSV") << 0 << QStringList{"HSV", "色相(&H)", "彩度(&S)", "強度(&V)"}
                         << QStringList{"0～359", "0～100", "0～100"} << QList<int>{359, 100, 100};
    QTest::newRow("HLS") << 1 << QStringList{"HLS", "色相(&H)", "明度(&L)", "彩度(&S)"}
                         << QStringList{"0～359", "0～100", "0～100"} << QList<int>{359, 100, 100};
    QTest::newRow("YUV") << 2 << QStringList{"YUV", "輝度(&Y)", "青み(&U)", "赤み(&V)"}
                         << QStringList{"0～255", "0～255", "0～255"} << QList<int>{255, 255, 255};
}

void tst_ViewCommands::switchRelabelsTheModelRow()
{
    QFETCH(int, model);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, tooltips);
    QFETCH(QList<int>, maxima);

    // Arrive from each other model, so no label is left from before.
    for (int from = 0; from < 3; ++from) {
        auto form = Open(from, 0, {255, 255, 255});
        Choose(*form, form->mnuView, form->mnuViewMode[model]);
        QCOMPARE(form->Frame2->Caption(), captions[0]);
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(form->Label2[c]->Caption(), captions[c + 1]);
            QCOMPARE(form->Text2[c]->toolTip(), tooltips[c]);
            QCOMPARE(form->HScroll2[c]->maximum(), maxima[c]);
            QCOMPARE(form->mnuViewMode[c]->Checked(), c == model);
        }
    }
}

void tst_ViewCommands::clampShowsBeforeTheDerivedValues()
{
    auto form = Open(colour::YUV, 0, {0, 0, 128});
    QCOMPARE(ModelRow(*form), (colour::Triple{15, 192, 117}));
    QStringList shownInValue;
    connect(form->Text2[2], &platform::TextBox::Change, this,
        [&] { shownInValue << form->Text2[2]->Text(); });

    Choose(*form, form->mnuView, form->mnuViewMode[0]);
    QCOMPARE(shownInValue, (QStringList{"100", "50"})); // the clamp, then the derived value
    QCOMPARE(ModelRow(*form), (colour::Triple{240, 100, 50}));
    QCOMPARE(Colour(*form), (Rgb{0, 0, 128}));
}

void tst_ViewCommands::emptyHexBoxReadsAsZero()
{
    auto form = Open(colour::HSV, 1, {18, 52, 86});
    SelectAllByKeys(form->Text1[1]);
    QTest::keyClick(form->Text1[1], Qt::Key_Backspace);
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));

    Choose(*form, form->mnuView, form->mnuViewRGB[0]);
    QCOMPARE(RgbTexts(*form), (QStringList{"18", "0", "86"}));
    QCOMPARE(Colour(*form), (Rgb{18, 0, 86}));
    QCOMPARE(ModelRow(*form), colour::RgbToHsv(18, 0, 86));
}

void tst_ViewCommands::emptyDecimalBoxKeepsItsChannel()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    SelectAllByKeys(form->Text1[2]);
    QTest::keyClick(form->Text1[2], Qt::Key_Backspace);

    Choose(*form, form->mnuView, form->mnuViewRGB[1]);
    QCOMPARE(RgbTexts(*form), (QStringList{"12", "34", "56"}));
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
}

QTEST_MAIN(tst_ViewCommands)
#include "tst_view_commands.moc"
