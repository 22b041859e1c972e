#include "form_driver.h"

#include "colour/channel_text.h"
#include "platform/controls/menu.h"

#include <QInputMethodEvent>
#include <QMenu>
#include <QRandomGenerator>

using namespace form_driver;

// Long runs of hostile input through the user's own path: whatever lands in
// the boxes, however fast the commands come, the window must stay idle and
// agree with itself afterwards.
class tst_BadInput : public QObject {
    Q_OBJECT

private slots:
    void junkInEveryBox_data();
    void junkInEveryBox();
    void commandsWhileDragging_data();
    void commandsWhileDragging();
    void thousandsOfSwatchAndSystemColourClicks();

private:
    // Fails the test unless the window is idle and its rows, boxes and
    // preview tell one story.
    static void VerifyConsistent(const ColorForm& form, const char* after);
};

namespace {

colour::ColorModel ModelInForce(const ColorForm& form)
{
    for (int i = 0; i < 3; ++i) {
        if (form.mnuViewMode[i]->isChecked())
            return static_cast<colour::ColorModel>(i);
    }
    return colour::HSV;
}

bool Hexadecimal(const ColorForm& form)
{
    return form.mnuViewRGB[1]->isChecked();
}

// Commits text as an input method would, past the keyboard.
void Commit(platform::TextBox* box, const QString& text)
{
    SelectAllByKeys(box);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

} // namespace

// The checks fail inside a helper; the test itself must stop there too.
#define VERIFY_CONSISTENT(form, after)                                                             \
    do {                                                                                           \
        VerifyConsistent(form, after);                                                             \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

void tst_BadInput::VerifyConsistent(const ColorForm& form, const char* after)
{
    QVERIFY2(!form.RGBChanging, after);
    QVERIFY2(!form.ModeChanging, after);

    const Rgb c = Colour(form);
    const int channel[3] = {c.r, c.g, c.b};
    for (int i = 0; i < 3; ++i) {
        // An emptied box is the user between two values; anything else shown
        // must read as the channel behind it.
        const std::string text = form.Text1[i]->Text().toStdString();
        if (!text.empty()) {
            const auto read = Hexadecimal(form) ? colour::FromHex(text) : colour::FromDecimal(text);
            QVERIFY2(read && *read == channel[i],
                qPrintable(QString("%1: box %2 shows \"%3\"")
                               .arg(after)
                               .arg(i)
                               .arg(form.Text1[i]->Text())));
        }
        const QString model = form.Text2[i]->Text();
        QVERIFY2(model.isEmpty() || model == QString::number(form.HScroll2[i]->Value()),
            qPrintable(QString("%1: model box %2 shows \"%3\"").arg(after).arg(i).arg(model)));
        QVERIFY2(
            form.HScroll2[i]->Value() >= 0 && form.HScroll2[i]->Value() <= form.HScroll2[i]->Max(),
            after);
    }

    // Whichever side changed last, the other side is its conversion.
    const colour::ColorModel model = ModelInForce(form);
    const colour::Triple row = ModelRow(form);
    const colour::Triple rgb = colour::ModelToRgb(row.c0, row.c1, row.c2, model);
    const bool agree
        = row == colour::RgbToModel(c.r, c.g, c.b, model) || Rgb{rgb.c0, rgb.c1, rgb.c2} == c;
    QVERIFY2(agree, qPrintable(QString("%1: rows disagree").arg(after)));
    QCOMPARE(form.Label3->BackColor(), std::uint32_t(c.r | c.g << 8 | c.b << 16));
}

void tst_BadInput::junkInEveryBox_data()
{
    QTest::addColumn<QString>("junk");

    const QString longDigits(5000, QLatin1Char('9'));
    QTest::newRow("long digits") << longDigits;
    QTest::newRow("long junk") << QString(4096, QChar(0x8272)) + QStringLiteral("12");
    QTest::newRow("control characters") << QStringLiteral("\x01\x02\x1b[2J\x7f");
    QTest::newRow("NUL inside") << QString::fromUtf8("1\0002", 3);
    QTest::newRow("line breaks") << QStringLiteral("12\r\n34\n");
    QTest::newRow("right-to-left override") << QStringLiteral("\u202E123");
    QTest::newRow("right-to-left mark") << QStringLiteral("\u200F12\u200F");
    QTest::newRow("Hebrew and digits") << QStringLiteral("\u05D012");
    QTest::newRow("combining marks") << QStringLiteral("1\u03012\u0308");
    QTest::newRow("zero-width space") << QStringLiteral("1\u200B2");
    QTest::newRow("full-width digits") << QStringLiteral("１２３");
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662\u0663");
    QTest::newRow("superscript digits") << QStringLiteral("\u00B9\u00B2\u00B3");
    QTest::newRow("emoji") << QStringLiteral("\U0001F3A8");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    QTest::newRow("blanks") << QStringLiteral(" \t ");
    QTest::newRow("signs") << QStringLiteral("+-+");
    QTest::newRow("hex prefix") << QStringLiteral("0xF");
    QTest::newRow("exponent") << QStringLiteral("1e9");
    QTest::newRow("negative") << QStringLiteral("-99");
    QTest::newRow("fraction") << QStringLiteral("1.5");
    QTest::newRow("largest 32-bit") << QStringLiteral("2147483647");
    QTest::newRow("eight hex digits") << QStringLiteral("FFFFFFFF");
}

void tst_BadInput::junkInEveryBox()
{
    QFETCH(QString, junk);

    // One window per model and radix, every box in turn, pasted and then
    // committed by an input method, with each result checked before the
    // next: the state carries over, as in a long session.
    for (const int model : {colour::HSV, colour::HLS, colour::YUV}) {
        for (const int radix : {0, 1}) {
            auto form = Open(
                static_cast<std::int16_t>(model), static_cast<std::int16_t>(radix), {200, 100, 50});
            for (int box = 0; box < 6; ++box) {
                platform::TextBox* target = box < 3 ? form->Text1[box] : form->Text2[box - 3];
                const QByteArray where = QStringLiteral("model %1 radix %2 box %3")
                                             .arg(model)
                                             .arg(radix)
                                             .arg(box)
                                             .toUtf8();

                const Rgb before = Colour(*form);
                Paste(target, junk);
                VERIFY_CONSISTENT(*form, ("paste, " + where).constData());
                if (const Rgb after = Colour(*form); box < 3 && after != before) {
                    QCOMPARE(ModelRow(*form),
                        colour::RgbToModel(
                            after.r, after.g, after.b, static_cast<colour::ColorModel>(model)));
                }
                QCOMPARE_LE(target->Text().size(), 3);

                Commit(target, junk);
                VERIFY_CONSISTENT(*form, ("input method, " + where).constData());
                QCOMPARE_LE(target->Text().size(), 3);
            }
        }
    }
}

void tst_BadInput::commandsWhileDragging_data()
{
    QTest::addColumn<bool>("modelBar");
    QTest::newRow("RGB bars") << false;
    QTest::newRow("model bars") << true;
}

void tst_BadInput::commandsWhileDragging()
{
    QFETCH(bool, modelBar);

    auto form = Open(colour::HSV, 0, {30, 160, 90});
    QRandomGenerator random(20261207);
    const std::pair<platform::MenuItem*, Qt::Key> commands[] = {
        {form->mnuViewRGB[0], Qt::Key_D},
        {form->mnuViewRGB[1], Qt::Key_H},
        {form->mnuViewMode[0], Qt::Key_S},
        {form->mnuViewMode[1], Qt::Key_L},
        {form->mnuViewMode[2], Qt::Key_Y},
    };
    int movedAfterACommand = 0;
    for (int round = 0; round < 30; ++round) {
        platform::ScrollBar* bar = modelBar ? form->HScroll2[round % 3] : form->HScroll1[round % 3];
        const int y = bar->height() / 2;
        const auto somewhere
            = [&] { return QPoint(static_cast<int>(random.bounded(bar->width())), y); };

        // The button stays down on the thumb while the other hand works the
        // View menu by its access keys (Alt+E, Right, then the item's key:
        // Alt+V alone may mean a model caption), so the drag goes on between
        // the commands.
        QTest::mousePress(bar, Qt::LeftButton, {}, ThumbCentre(bar));
        for (int step = 0; step < 4; ++step) {
            QTest::mouseMove(bar, somewhere());
            const auto& [item, key] = commands[random.bounded(5)];
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
            QVERIFY(QTest::qWaitFor([&] { return form->mnuEdit->isVisible(); }));
            QTest::keyClick(form->mnuEdit, Qt::Key_Right);
            QVERIFY(QTest::qWaitFor([&] { return form->mnuView->isVisible(); }));
            QTest::keyClick(form->mnuView, key);
            QVERIFY(QTest::qWaitFor([&] { return !form->mnuView->isVisible(); }));
            QVERIFY(item->isChecked());

            const int before = bar->value();
            QTest::mouseMove(bar, somewhere());
            movedAfterACommand += bar->value() != before;
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, somewhere());
        VERIFY_CONSISTENT(*form, qPrintable(QString("round %1").arg(round)));
    }
    // Guards the test itself: the commands did land inside live drags.
    QVERIFY(movedAfterACommand > 60);
}

void tst_BadInput::thousandsOfSwatchAndSystemColourClicks()
{
    auto form = Open(colour::HLS, 1, {0, 0, 0});
    QRandomGenerator random(7);
    for (int click = 0; click < 3000; ++click) {
        if (click % 4 == 3) {
            const auto entry = random.bounded(static_cast<int>(form->mnuEditSysColor.size()));
            Choose(*form, form->mnuEdit, form->mnuEditSysColor[entry], form->mnuEditSystem);
        } else {
            platform::Label* swatch = form->Label4[random.bounded(16)];
            const Qt::MouseButton button = random.bounded(2) ? Qt::LeftButton : Qt::RightButton;
            QTest::mouseClick(swatch, button, {}, swatch->rect().center());
        }
        // Every one of these is an RGB-side change: the model row follows.
        const Rgb c = Colour(*form);
        QCOMPARE(ModelRow(*form), colour::RgbToHls(c.r, c.g, c.b));
        if (click % 100 == 0)
            VERIFY_CONSISTENT(*form, qPrintable(QString("click %1").arg(click)));
    }
    VERIFY_CONSISTENT(*form, "the last click");
}

QTEST_MAIN(tst_BadInput)
#include "tst_bad_input.moc"
