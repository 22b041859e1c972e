#include "fakes/fake_services.h"
#include "form_driver.h"

#include "acquisition/picker_form.h"
#include "platform/controls/menu.h"

#include <QMenu>
#include <QTimer>

using namespace form_driver;

// The screen pick, with the pointer and the screen played by the test.
class tst_Picker : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { os_.reset(); }

    void buttonEndsThePick_data();
    void buttonEndsThePick();
    void captionAndHelpWhilePicking();
    void captionColourFollowsLuminance_data();
    void captionColourFollowsLuminance();
    void secondPickStartsAfresh();
    void commandAgainInsideAPickIsIgnored();
    void closingTheWindowEndsThePick();
    void unreadableScreenDoesNotHang();

private:
    // Starts a pick from the Edit menu and runs `steps` while it runs, each
    // after the loop has made a few more passes; the last must end the pick.
    // A failed check ends it with the right button, so nothing hangs.
    void Pick(ColorForm& form, const QList<std::function<void()>>& steps);
    void Release(ColorForm& form, Qt::MouseButton button);

    std::unique_ptr<FakeServices> os_;
    int passes_ = 0;
};

void tst_Picker::init()
{
    os_ = std::make_unique<FakeServices>();
    passes_ = 0;
    // The screen: each pixel's colour is made from its coordinates.
    os_->pixel = [this](QPoint at) {
        ++passes_;
        return std::uint32_t(at.x() & 0xFF) | std::uint32_t(at.y() & 0xFF) << 8 | 0x400000u;
    };
}

void tst_Picker::Pick(ColorForm& form, const QList<std::function<void()>>& steps)
{
    QTimer ticks;
    ticks.setInterval(2);
    int next = 0;
    int passesSeen = passes_;
    connect(&ticks, &QTimer::timeout, this, [&] {
        if (passes_ < passesSeen + 3)
            return;
        passesSeen = passes_;
        steps[next++]();
        if (next == steps.size() || QTest::currentTestFailed()) {
            ticks.stop();
            if (form.picker && form.picker->MouseButton == 0)
                Release(form, Qt::RightButton);
        }
    });
    ticks.start();
    Choose(form, form.mnuEdit, form.mnuEditPicker);
}

void tst_Picker::Release(ColorForm& form, Qt::MouseButton button)
{
    QTest::mouseRelease(form.picker, button, {}, QPoint(0, 0));
}

void tst_Picker::buttonEndsThePick_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<Rgb>("kept");
    QTest::newRow("left keeps the last colour") << int(Qt::LeftButton) << Rgb{30, 40, 0x40};
    QTest::newRow("right puts back the colour before") << int(Qt::RightButton) << Rgb{18, 52, 86};
}

void tst_Picker::buttonEndsThePick()
{
    QFETCH(int, button);
    QFETCH(Rgb, kept);

    auto form = Open(colour::HSV, 0, {18, 52, 86});
    os_->pointer = QPoint(10, 20);
    Pick(*form,
        {[&] {
             QCOMPARE(Colour(*form), (Rgb{10, 20, 0x40})); // following live
             os_->pointer = QPoint(30, 40);
         },
            [&] {
                QCOMPARE(Colour(*form), (Rgb{30, 40, 0x40}));
                QCOMPARE(form->picker->pos(), QPoint(30, 40)); // on the pixel under the pointer
                Release(*form, Qt::MiddleButton);
            },
            [&] {
                QCOMPARE(form->picker->MouseButton, 0); // the middle button lets it go on
                Release(*form, Qt::MouseButton(button));
            }});
    QCOMPARE(Colour(*form), kept);
    QCOMPARE(ModelRow(*form), colour::RgbToHsv(kept.r, kept.g, kept.b));
    QCOMPARE(form->picker->MouseButton, button == Qt::LeftButton ? 1 : 2);
    QVERIFY(!form->picker->isVisible());
    QCOMPARE(form->Label3->Caption(), QString());
    QTRY_COMPARE(QApplication::focusWidget(), form->Text1[0]);
    QVERIFY(!form->RGBChanging && !form->ModeChanging);
}

void tst_Picker::captionAndHelpWhilePicking()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    Pick(*form, {[&] {
        QCOMPARE(form->Label3->Caption(), QStringLiteral("\r\n\r\n取得中"));
        QCOMPARE(form->HelpContextID(), 4);
        QCOMPARE(form->picker->property("HelpContextID").toInt(), 4);
        QVERIFY(form->picker->isVisible());
        QCOMPARE(form->picker->size(), QSize(1, 1));
        Release(*form, Qt::LeftButton);
    }});
    QCOMPARE(form->HelpContextID(), 3);
}

void tst_Picker::captionColourFollowsLuminance_data()
{
    QTest::addColumn<std::uint32_t>("pixel");
    QTest::addColumn<std::uint32_t>("text");
    QTest::newRow("mid grey 128 gets white") << 0x808080u << 0xFFFFFFu;
    QTest::newRow("129 gets black") << 0x818181u << 0x000000u;
    QTest::newRow("black gets white") << 0x000000u << 0xFFFFFFu;
    QTest::newRow("white gets black") << 0xFFFFFFu << 0x000000u;
    QTest::newRow("failed read is white") << 0xFFFFFFFFu << 0x000000u;
}

void tst_Picker::captionColourFollowsLuminance()
{
    QFETCH(std::uint32_t, pixel);
    QFETCH(std::uint32_t, text);
    os_->pixel = [&](QPoint) {
        ++passes_;
        return pixel;
    };
    auto form = Open(colour::YUV, 1, {1, 2, 3});
    Pick(*form, {[&] { Release(*form, Qt::LeftButton); }});
    QCOMPARE(form->Label3->ForeColor(), text);
    QCOMPARE(form->Label3->BackColor(), pixel & 0xFFFFFF);
}

void tst_Picker::secondPickStartsAfresh()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    Pick(*form, {[&] { Release(*form, Qt::RightButton); }});
    QCOMPARE(form->picker->MouseButton, 2);
    PickerForm* first = form->picker;
    Pick(*form, {[&] {
        QCOMPARE(form->picker->MouseButton, 0);
        Release(*form, Qt::LeftButton);
    }});
    QCOMPARE(form->picker, first); // one overlay for the program's life
    QCOMPARE(form->picker->MouseButton, 1);
}

void tst_Picker::commandAgainInsideAPickIsIgnored()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    int nested = 0;
    connect(form->mnuEditPicker, &platform::MenuItem::Click, this, [&] { ++nested; });
    // The menus stay reachable from the keyboard during a pick.
    // A keyboard user reaches the command through the Edit menu while the
    // pointer is captured; offscreen, Qt's own capture keeps that menu from
    // the keys, so the item is activated as the menu would activate it.
    Pick(*form,
        {[&] { form->mnuEditPicker->trigger(); },
            [&] {
                QVERIFY(nested <= 2);
                QVERIFY(form->picker->isVisible());
                QCOMPARE(form->picker->MouseButton, 0);
                Release(*form, Qt::LeftButton);
            }});
    QCOMPARE(form->Label3->Caption(), QString());
    QCOMPARE(form->HelpContextID(), 3);
    QCOMPARE(form->picker->MouseButton, 1);
}

void tst_Picker::closingTheWindowEndsThePick()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QList<Rgb> atUnload;
    connect(form.get(), &platform::Form::Unload, this, [&] { atUnload << Colour(*form); });
    Pick(*form, {[&] { form->close(); }});
    QCOMPARE(atUnload, QList<Rgb>{(Rgb{18, 52, 86})}); // the colour from before the pick
    QVERIFY(!form->picker->isVisible());
    QCOMPARE(form->Label3->Caption(), QString());
}

void tst_Picker::unreadableScreenDoesNotHang()
{
    os_->screenReadable = false;
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    Choose(*form, form->mnuEdit, form->mnuEditPicker);
    QCOMPARE(passes_, 0);
    QCOMPARE(os_->beeps, 1);
    // Said in the preview for a while, not only with the sound.
    QCOMPARE(form->Label3->Caption(), QStringLiteral("\r\n\r\n取得\r\nできません"));
    QCOMPARE(Colour(*form), (Rgb{18, 52, 86}));
    QTRY_COMPARE_WITH_TIMEOUT(form->Label3->Caption(), QString(), 6000);
}

QTEST_MAIN(tst_Picker)
#include "tst_picker.moc"
