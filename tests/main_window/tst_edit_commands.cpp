#include "fakes/fake_services.h"
#include "form_driver.h"

#include "platform/controls/frame.h"
#include "platform/controls/menu.h"
#include "platform/controls/qt_color.h"
#include "platform/services/qt_texts.h"
#include "platform/services/services.h"

#include <QClipboard>
#include <QMenu>

using namespace form_driver;

// The Edit menu, the context menus and the swatches, as a user reaches them.
class tst_EditCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::SpeakJapaneseInQtTexts(); }
    void init() { os_ = std::make_unique<FakeServices>(); }
    void cleanup() { os_.reset(); }

    void copyReadsTheScrollValues_data();
    void copyReadsTheScrollValues();
    void refusedClipboardDisturbsNothing();
    void systemColourFollowsThePalette();
    void invertAndComplement_data();
    void invertAndComplement();
    void complementOfGreyRunsNothing();
    void frameMenusShowTheirGroup_data();
    void frameMenusShowTheirGroup();
    void hitTestIsInclusive_data();
    void hitTestIsInclusive();
    void previewMenuHoldsEightLines();
    void swatches_data();
    void swatches();
    void systemColourReadAtTheClick();
    void pastedColourIsSetWhole_data();
    void pastedColourIsSetWhole();

private:
    std::unique_ptr<FakeServices> os_;
};

void tst_EditCommands::copyReadsTheScrollValues_data()
{
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QStringList>("texts"); // HTML, VB, C, DWORD, RGB function
    QTest::newRow("12 34 56") << Rgb{0x12, 0x34,
        0x56} << QStringList{"#123456", "&H563412&", "0x563412", "5649426", "RGB(18,52,86)"};
    QTest::newRow("AB 0C 01") << Rgb{0xAB, 0x0C,
        0x01} << QStringList{"#ab0c01", "&H10CAB&", "0x010cab", "68779", "RGB(171,12,1)"};
    QTest::newRow("red") << Rgb{255, 0, 0}
                         << QStringList{"#ff0000", "&HFF&", "0x0000ff", "255", "RGB(255,0,0)"};
    QTest::newRow("black") << Rgb{0, 0, 0}
                           << QStringList{"#000000", "&H0&", "0x000000", "0", "RGB(0,0,0)"};
    QTest::newRow("white") << Rgb{255, 255,
        255} << QStringList{"#ffffff", "&HFFFFFF&", "0xffffff", "16777215", "RGB(255,255,255)"};
}

void tst_EditCommands::copyReadsTheScrollValues()
{
    QFETCH(Rgb, colour);
    QFETCH(QStringList, texts);
    auto form = Open(colour::HSV, 1, colour);
    SelectAllByKeys(form->Text1[1]);
    QTest::keyClick(form->Text1[1], Qt::Key_Backspace); // a box being edited does not count
    for (int i = 0; i < 5; ++i)
        Choose(*form, form->mnuEdit, form->mnuEditCopy[i]);
    QCOMPARE(os_->clipboard, texts);
    QCOMPARE(Colour(*form), colour);
}

void tst_EditCommands::refusedClipboardDisturbsNothing()
{
    auto form = Open(colour::HLS, 0, {18, 52, 86});
    os_->clipboardAvailable = false;
    form->Text2[1]->setFocus();
    const QStringList texts = RgbTexts(*form) + ModelTexts(*form);
    Choose(*form, form->mnuEdit, form->mnuEditCopy[0]);
    QCOMPARE(RgbTexts(*form) + ModelTexts(*form), texts);
    QCOMPARE(QApplication::focusWidget(), form->Text2[1]);
}

void tst_EditCommands::invertAndComplement_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<Rgb>("from");
    QTest::addColumn<Rgb>("to");
    const Rgb table[][3] = {
        // colour, inverted, complement
        {{18, 52, 86}, {237, 203, 169}, {86, 52, 18}},
        {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}},
        {{255, 0, 0}, {0, 255, 255}, {0, 255, 255}},
        {{255, 128, 0}, {0, 127, 255}, {0, 127, 255}},
        {{128, 0, 0}, {127, 255, 255}, {0, 128, 128}},
        {{10, 200, 30}, {245, 55, 225}, {200, 10, 180}},
        {{100, 100, 100}, {155, 155, 155}, {100, 100, 100}},
    };
    for (const auto& [colour, inverted, complement] : table) {
        const std::unique_ptr<char[]> text(toString(colour)); // ours to free
        const QByteArray name(text.get());
        QTest::newRow("invert " + name) << 0 << colour << inverted;
        QTest::newRow("complement " + name) << 1 << colour << complement;
    }
}

void tst_EditCommands::invertAndComplement()
{
    QFETCH(int, command);
    QFETCH(Rgb, from);
    QFETCH(Rgb, to);
    // The focus rests in the box of the last channel that changed.
    const bool changes[3] = {from.r != to.r, from.g != to.g, from.b != to.b};
    const QString focus = changes[2] ? "Text1(2)"
        : changes[1]                 ? "Text1(1)"
        : changes[0]                 ? "Text1(0)"
                                     : "Text2(0)";

    auto form = Open(colour::HSV, 0, from);
    form->Text2[0]->setFocus();
    Choose(*form, form->mnuEdit, form->mnuEditColor[command]);
    QCOMPARE(Colour(*form), to);
    QCOMPARE(ModelRow(*form), colour::RgbToHsv(to.r, to.g, to.b));
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    Choose(*form, form->mnuEdit, form->mnuEditColor[command]);
    QCOMPARE(Colour(*form), from); // twice gives the colour back
}

void tst_EditCommands::complementOfGreyRunsNothing()
{
    auto form = Open(colour::HSV, 0, {100, 100, 100});
    form->Text2[0]->setFocus();
    QSignalSpy texts(form->Text1[0], &platform::TextBox::Change);
    Choose(*form, form->mnuEdit, form->mnuEditColor[1]);
    QCOMPARE(texts.count(), 0);
    QCOMPARE(QApplication::focusWidget(), form->Text2[0]);
}

void tst_EditCommands::frameMenusShowTheirGroup_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("items");
    const QStringList radix{"RGB 10進(&D)", "RGB 16進(&H)"};
    const QStringList models{"HSV(&S)", "HLS(&L)", "YUV(&Y)"};
    QTest::newRow("RGB frame") << "Frame1" << radix;
    QTest::newRow("green caption") << "Label1(1)" << radix;
    QTest::newRow("model frame") << "Frame2" << models;
    QTest::newRow("model caption") << "Label2(2)" << models;
}

void tst_EditCommands::frameMenusShowTheirGroup()
{
    QFETCH(QString, control);
    QFETCH(QStringList, items);

    auto form = Open(colour::HSV, 0, {18, 52, 86});
    auto* target = form->findChild<QWidget*>(control);
    QStringList seen;
    const bool opened
        = ClickAndHandlePopup(target, Qt::RightButton, QPoint(5, 5), [&](QMenu* menu) {
              seen = VisibleItems(menu);
              // The last item shown: hexadecimal, or YUV.
              QAction* last = nullptr;
              for (QAction* action : menu->actions()) {
                  if (action->isVisible())
                      last = action;
              }
              QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(last).center());
          });
    QVERIFY(opened);
    QCOMPARE(seen, items);
    // The command ran, and the menu bar has all six items again.
    QVERIFY(items.size() == 2 ? form->mnuViewRGB[1]->Checked() : form->mnuViewMode[2]->Checked());
    QCOMPARE(VisibleItems(form->mnuView).size(), 6);

    // A left click opens nothing.
    QVERIFY(
        !ClickAndHandlePopup(target, Qt::LeftButton, QPoint(5, 5), [](QMenu* m) { m->close(); }));
}

void tst_EditCommands::hitTestIsInclusive_data()
{
    QTest::addColumn<int>("dx"); // from the right edge, in pixels
    QTest::addColumn<int>("dy"); // from the bottom edge
    QTest::addColumn<bool>("opens");
    QTest::newRow("on the right edge") << 0 << -3 << true;
    QTest::newRow("on the bottom edge") << -3 << 0 << true;
    QTest::newRow("past the right edge") << 1 << -3 << false;
    QTest::newRow("past the bottom edge") << -3 << 1 << false;
}

void tst_EditCommands::hitTestIsInclusive()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, opens);

    auto form = Open(colour::HSV, 0, {18, 52, 86});
    // Pressed inside, released at the spot: the frame keeps the release.
    QWidget* frame = form->Frame1;
    const QPoint release(frame->width() + dx, frame->height() + dy);
    bool opened = false;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (auto* menu = QApplication::activePopupWidget()) {
            opened = true;
            menu->close();
        }
    });
    watch.start();
    QTest::mousePress(frame, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(frame, Qt::RightButton, {}, release);
    watch.stop();
    QCOMPARE(opened, opens);
}

void tst_EditCommands::previewMenuHoldsEightLines()
{
    auto form = Open(colour::HSV, 0, {0x12, 0x34, 0x56});
    QStringList seen;
    QStringList separatorTexts; // a style draws a separator's text as a title
    QVERIFY(ClickAndHandlePopup(form->Label3, Qt::RightButton, QPoint(30, 30), [&](QMenu* menu) {
        seen = VisibleItems(menu);
        for (const QAction* item : menu->actions()) {
            if (item->isSeparator())
                separatorTexts << item->text();
        }
        // Either button chooses in a pop-up menu.
        QTest::mouseClick(
            menu, Qt::RightButton, {}, menu->actionGeometry(form->mnuEditCopy[0]).center());
    }));
    QCOMPARE(seen,
        (QStringList{"HTML形式でコピー(&H)", "VB形式でコピー(&V)", "C形式でコピー(&C)",
            "DWORD値でコピー(&D)", "RGB関数でコピー(&R)", "-", "色の反転(&T)", "補色(&O)"}));
    QCOMPARE(separatorTexts, (QStringList{QString(), QString()}));
    QCOMPARE(os_->clipboard, QStringList{"#123456"});
    QCOMPARE(VisibleItems(form->mnuEdit).size(), 11);
}

void tst_EditCommands::swatches_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<Rgb>("colour");
    QTest::newRow("maroon") << 4 << int(Qt::LeftButton) << Rgb{128, 0, 0};
    QTest::newRow("silver") << 7 << int(Qt::LeftButton) << Rgb{192, 192, 192};
    QTest::newRow("fuchsia") << 13 << int(Qt::LeftButton) << Rgb{255, 0, 255};
    QTest::newRow("right button does nothing") << 4 << int(Qt::RightButton) << Rgb{18, 52, 86};
    QTest::newRow("the current colour") << 15 << int(Qt::LeftButton) << Rgb{255, 255, 255};
}

void tst_EditCommands::swatches()
{
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(Rgb, colour);

    const bool white = index == 15;
    auto form = Open(colour::HLS, 0, white ? Rgb{255, 255, 255} : Rgb{18, 52, 86});
    form->Text2[2]->setFocus();
    QSignalSpy texts(form->Text1[0], &platform::TextBox::Change);
    QTest::mouseClick(form->Label4[index], Qt::MouseButton(button), {}, QPoint(8, 8));
    QCOMPARE(Colour(*form), colour);
    if (button == Qt::LeftButton) {
        QCOMPARE(QApplication::focusWidget(), form->Text1[0]);
        QCOMPARE(ModelRow(*form), colour::RgbToHls(colour.r, colour.g, colour.b));
    } else {
        QCOMPARE(QApplication::focusWidget(), form->Text2[2]);
    }
    if (white)
        QCOMPARE(texts.count(), 0);
}

void tst_EditCommands::systemColourReadAtTheClick()
{
    auto form = Open(colour::YUV, 0, {1, 2, 3});
    os_->sysColor = [](int index) { return index == 5 ? 0x563412u : 0u; };
    Choose(*form, form->mnuEdit, form->mnuEditSysColor[5], form->mnuEditSystem);
    QCOMPARE(Colour(*form), (Rgb{0x12, 0x34, 0x56}));
    QCOMPARE(QApplication::focusWidget(), form->Text1[2]);

    os_->sysColor = [](int) { return 0xFFFFFFu; }; // the theme changed
    Choose(*form, form->mnuEdit, form->mnuEditSysColor[5], form->mnuEditSystem);
    QCOMPARE(Colour(*form), (Rgb{255, 255, 255}));
    QVERIFY(!form->mnuEditSysColor[5]->isChecked());
}

void tst_EditCommands::systemColourFollowsThePalette()
{
    os_.reset(); // the desktop's own colours
    auto form = Open(colour::HSV, 0, {1, 2, 3});
    // Each entry's swatch shows the colour it had when the submenu opened.
    const auto swatchesMismatched = [&form] {
        QStringList wrong;
        for (int i = 0; i < 31; ++i) {
            const QImage swatch = form->mnuEditSysColor[i]->icon().pixmap(16).toImage();
            const QColor shown = swatch.pixelColor(swatch.width() / 2, swatch.height() / 2);
            if (shown != platform::ToQColor(platform::Os().GetSysColor(i)))
                wrong << QString::number(i);
        }
        return wrong;
    };
    const QPalette original = QApplication::palette();
    QPalette palette = original;
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(palette);
    Choose(*form, form->mnuEdit, form->mnuEditSysColor[15], form->mnuEditSystem);
    QCOMPARE(Colour(*form), (Rgb{10, 20, 30}));
    QCOMPARE(swatchesMismatched(), QStringList());

    palette.setColor(QPalette::Button, QColor(200, 100, 50));
    QApplication::setPalette(palette);
    Choose(*form, form->mnuEdit, form->mnuEditSysColor[15], form->mnuEditSystem);
    QCOMPARE(Colour(*form), (Rgb{200, 100, 50}));
    QCOMPARE(swatchesMismatched(), QStringList());
    QApplication::setPalette(original);
}

void tst_EditCommands::pastedColourIsSetWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("box"); // 0..2 the RGB boxes, 3..5 the model boxes
    QTest::addColumn<QKeySequence>("keys"); // empty: the box's own menu by the mouse
    QTest::addColumn<Rgb>("colour");

    const QKeySequence ctrlV(Qt::CTRL | Qt::Key_V);
    const Rgb before{18, 52, 86};
    QTest::newRow("HTML by Ctrl+V") << "#1e90ff" << 1 << ctrlV << Rgb{30, 144, 255};
    QTest::newRow("CSS by Shift+Insert into a model box")
        << "rgb(30 144 255)" << 5 << QKeySequence(Qt::SHIFT | Qt::Key_Insert) << Rgb{30, 144, 255};
    QTest::newRow("VB by the menu") << "&HFF901E&" << 2 << QKeySequence() << Rgb{30, 144, 255};
    QTest::newRow("C by the menu from Shift+F10")
        << "0xff901e" << 3 << QKeySequence(Qt::SHIFT | Qt::Key_F10) << Rgb{30, 144, 255};
    QTest::newRow("a channel value stays the box's") << "C8" << 1 << ctrlV << Rgb{18, 200, 86};
    QTest::newRow("a short HTML colour is junk") << "#12345" << 0 << ctrlV << before;
    QTest::newRow("ten megabytes") << QString(10'000'000, u'x') << 0 << ctrlV << before;
}

void tst_EditCommands::pastedColourIsSetWhole()
{
    QFETCH(QString, text);
    QFETCH(int, box);
    QFETCH(QKeySequence, keys);
    QFETCH(Rgb, colour);

    auto form = Open(colour::HSV, 1, {18, 52, 86});
    platform::TextBox* target = box < 3 ? form->Text1[box] : form->Text2[box - 3];
    QGuiApplication::clipboard()->setText(text);
    SelectAllByKeys(target);
    if (keys.isEmpty()) {
        // Through the window, as a click of the desktop's comes.
        QTest::mouseClick(target->window()->windowHandle(), Qt::RightButton, {},
            target->mapTo(target->window(), target->rect().center()));
    } else {
        QTest::keySequence(target, keys);
    }
    if (keys.isEmpty() || keys == QKeySequence(Qt::SHIFT | Qt::Key_F10)) {
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        // Qt's own items speak the window's language.
        QVERIFY(!menu->actions().isEmpty());
        for (const QAction* item : menu->actions())
            QVERIFY2(!item->text().contains(u"Paste"), qPrintable(item->text()));
        QTest::keyClick(menu, Qt::Key_P);
    }
    QCOMPARE(Colour(*form), colour);
    if (colour.g == 144) {
        QCOMPARE(QApplication::focusWidget(), form->Text1[0]);
        QCOMPARE(ModelRow(*form), colour::RgbToHsv(colour.r, colour.g, colour.b));
    }
}

QTEST_MAIN(tst_EditCommands)
#include "tst_edit_commands.moc"
