#include "platform/controls/focus.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/services/units.h"
#include "support/scroll_bar_thumb.h"

#include <QMenu>
#include <QtTest>

#include <memory>

// The window model the forms rely on, checked on the Qt controls.
class tst_Controls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void scrollBarReportsOnlyChanges();
    void loweredMaximumClampsAndReports();
    void draggingTheThumbScrollsThenChanges();
    void textBoxSameTextKeepsCaretAndSelection();
    void textBoxNotifiesInsideTheSetter();
    void keyFilterCodes_data();
    void keyFilterCodes();
    void keyFilterReplacesAndDiscards();
    void gotFocusOnEveryArrival();
    void pressedLabelKeepsMovesAndRelease();
    void mouseArgumentsInTwips();
    void focusMoveToHiddenWindowIsSkipped();
    void checkedMenuItemStaysChecked();

private:
    std::unique_ptr<platform::Form> form_;
};

void tst_Controls::init()
{
    form_ = std::make_unique<platform::Form>();
    form_->SetClientSize(4500, 3000);
}

void tst_Controls::cleanup()
{
    form_.reset();
}

void tst_Controls::scrollBarReportsOnlyChanges()
{
    auto* bar = new platform::ScrollBar(form_->Client());
    bar->setRange(0, 255);
    QSignalSpy changes(bar, &platform::ScrollBar::Change);

    bar->SetValue(0);
    QCOMPARE(changes.count(), 0);
    bar->SetValue(7);
    QCOMPARE(changes.count(), 1);
    bar->SetValue(7);
    bar->SetMax(255);
    QCOMPARE(changes.count(), 1);
    bar->SetValue(300); // out of range: the bar holds its maximum
    QCOMPARE(bar->Value(), 255);
    QCOMPARE(changes.count(), 2);
}

void tst_Controls::loweredMaximumClampsAndReports()
{
    auto* bar = new platform::ScrollBar(form_->Client());
    bar->setRange(0, 255);
    bar->SetValue(192);
    int seenInsideSetter = -1;
    connect(bar, &platform::ScrollBar::Change, this, [&] { seenInsideSetter = bar->Value(); });

    bar->SetMax(100);
    QCOMPARE(seenInsideSetter, 100); // reported synchronously, with the clamped value
    QCOMPARE(bar->Value(), 100);
}

void tst_Controls::draggingTheThumbScrollsThenChanges()
{
    auto* bar = new platform::ScrollBar(form_->Client());
    bar->setRange(0, 255);
    platform::Place(bar, 0, 0, 3000, 255);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QSignalSpy scrolls(bar, &platform::ScrollBar::Scroll);
    QSignalSpy changes(bar, &platform::ScrollBar::Change);

    const QPoint thumb = ThumbCentre(bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, thumb + QPoint(40, 0));
    QTest::mouseMove(bar, thumb + QPoint(80, 0));
    QVERIFY(scrolls.count() >= 2);
    QCOMPARE(changes.count(), 0);
    QVERIFY(bar->Value() > 0); // the value follows the thumb during the drag
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(80, 0));
    QCOMPARE(changes.count(), 1);
}

void tst_Controls::textBoxSameTextKeepsCaretAndSelection()
{
    auto* box = new platform::TextBox(form_->Client());
    box->SetText(QStringLiteral("128"));
    box->setSelection(1, 2);
    QSignalSpy changes(box, &platform::TextBox::Change);

    box->SetText(QStringLiteral("128"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(box->selectionStart(), 1);
    QCOMPARE(box->selectedText(), QStringLiteral("28"));

    // A partly selected box is rewritten with the caret at the end; a wholly
    // selected one stays wholly selected.
    box->SetText(QStringLiteral("7"));
    QCOMPARE(box->selectedText(), QString());
    QCOMPARE(box->cursorPosition(), 1);
    box->SelectAll();
    box->SetText(QStringLiteral("255"));
    QCOMPARE(box->selectedText(), QStringLiteral("255"));
}

void tst_Controls::textBoxNotifiesInsideTheSetter()
{
    auto* box = new platform::TextBox(form_->Client());
    QString seen;
    connect(box, &platform::TextBox::Change, this, [&] { seen = box->Text(); });
    box->SetText(QStringLiteral("FF"));
    QCOMPARE(seen, QStringLiteral("FF"));
}

void tst_Controls::keyFilterCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << int('7');
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << int('a');
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << 8;
    QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << 3;
    QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << 22;
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier) << 24;
    QTest::newRow("ctrl+z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << 26;
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << int('-');
}

void tst_Controls::keyFilterCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);

    auto* box = new platform::TextBox(form_->Client());
    QList<int> codes;
    connect(box, &platform::TextBox::KeyPress, this, [&](std::int16_t& k) { codes << k; });
    QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(codes, QList<int>{code});

    // Moving and deleting keys edit without a character code.
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(codes.size(), 1);
}

void tst_Controls::keyFilterReplacesAndDiscards()
{
    auto* box = new platform::TextBox(form_->Client());
    box->setMaxLength(3);
    connect(box, &platform::TextBox::KeyPress, this, [](std::int16_t& k) {
        if (k >= 'a' && k <= 'f')
            k &= 0x4F; // to upper case
        else if (!(k >= '0' && k <= '9') && k != 8)
            k = 0;
    });
    QTest::keyClicks(box, QStringLiteral("a-x9"));
    QCOMPARE(box->Text(), QStringLiteral("A9"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->Text(), QStringLiteral("A"));
}

void tst_Controls::gotFocusOnEveryArrival()
{
    auto* first = new platform::TextBox(form_->Client());
    auto* second = new platform::TextBox(form_->Client());
    platform::Place(second, 0, 600, 900, 270);
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QSignalSpy arrivals(second, &platform::TextBox::GotFocus);

    first->setFocus();
    platform::MoveFocus(second);
    QCOMPARE(arrivals.count(), 1);
    QCOMPARE(QApplication::focusWidget(), second);
    platform::MoveFocus(second); // already there: no second arrival
    QCOMPARE(arrivals.count(), 1);
}

void tst_Controls::pressedLabelKeepsMovesAndRelease()
{
    auto* label = new platform::Label(form_->Client());
    auto* neighbour = new platform::Label(form_->Client());
    platform::Place(label, 0, 0, 1500, 1500);
    platform::Place(neighbour, 1500, 0, 1500, 1500);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QList<platform::MouseArgs> moves, releases;
    connect(label, &platform::Label::MouseMove, this,
        [&](const platform::MouseArgs& a) { moves << a; });
    connect(label, &platform::Label::MouseUp, this,
        [&](const platform::MouseArgs& a) { releases << a; });
    QSignalSpy neighbourReleases(neighbour, &platform::Label::MouseUp);

    // Through the window, as the pointer goes: down on one label, up on the other.
    QWindow* window = form_->windowHandle();
    const QPoint inLabel = label->mapTo(form_.get(), QPoint(10, 10));
    const QPoint inNeighbour = neighbour->mapTo(form_.get(), QPoint(30, 20));
    QTest::mousePress(window, Qt::LeftButton, {}, inLabel);
    QTest::mouseMove(window, inNeighbour);
    QTest::mouseRelease(window, Qt::LeftButton, {}, inNeighbour);

    QCOMPARE(neighbourReleases.count(), 0);
    QCOMPARE(releases.size(), 1);
    QCOMPARE(releases[0].button, std::int16_t(platform::kLeftButton));
    QCOMPARE(releases[0].x, 130.0f * 15); // outside the label, in its coordinates
    QVERIFY(!moves.isEmpty());
    QCOMPARE(moves.last().button, std::int16_t(platform::kLeftButton)); // buttons held
}

void tst_Controls::mouseArgumentsInTwips()
{
    auto* label = new platform::Label(form_->Client());
    platform::Place(label, 0, 0, 1500, 1500);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QList<platform::MouseArgs> releases;
    connect(label, &platform::Label::MouseUp, this,
        [&](const platform::MouseArgs& a) { releases << a; });

    QTest::mouseClick(
        label, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(100, 0));
    QTest::mouseClick(label, Qt::MiddleButton, Qt::AltModifier, QPoint(0, 99));
    QCOMPARE(releases.size(), 2);
    QCOMPARE(releases[0].button, std::int16_t(platform::kRightButton));
    QCOMPARE(releases[0].shift, std::int16_t(3));
    QCOMPARE(releases[0].x, 1500.0f);
    QCOMPARE(releases[0].y, 0.0f);
    QCOMPARE(releases[1].button, std::int16_t(platform::kMiddleButton));
    QCOMPARE(releases[1].shift, std::int16_t(4));
    QCOMPARE(releases[1].y, 1485.0f);
}

void tst_Controls::focusMoveToHiddenWindowIsSkipped()
{
    auto* box = new platform::TextBox(form_->Client());
    QSignalSpy arrivals(box, &platform::TextBox::GotFocus);
    platform::MoveFocus(box);
    QVERIFY(!box->hasFocus());
    QCOMPARE(form_->focusWidget(), nullptr);
    QCOMPARE(arrivals.count(), 0);
}

void tst_Controls::checkedMenuItemStaysChecked()
{
    auto* item = new platform::MenuItem(QStringLiteral("HSV(&S)"), form_.get());
    bool checkedWhenClicked = false;
    connect(item, &platform::MenuItem::Click, this, [&] { checkedWhenClicked = item->Checked(); });

    item->SetChecked(true);
    item->trigger();
    QVERIFY(checkedWhenClicked); // the command sees the mark as it was
    QVERIFY(item->Checked());

    item->SetChecked(false);
    QVERIFY(!item->isCheckable()); // no empty check box in the menu
    item->trigger();
    QVERIFY(!checkedWhenClicked);
    QVERIFY(!item->Checked());

    auto* separator = new platform::MenuItem(QStringLiteral("-"), form_.get());
    QVERIFY(separator->isSeparator());
}

QTEST_MAIN(tst_Controls)
#include "tst_controls.moc"
