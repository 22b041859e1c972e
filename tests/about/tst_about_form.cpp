#include "about/about_form.h"
#include "fakes/fake_services.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/services/units.h"
#include "resources/icon.h"
#include "resources/strings.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// Where on the link a mouse event lands, resolved against its pixel size.
enum class Where { Centre, RightEdge, BottomEdge, PastRight, AboveTop };

// Positions on the link's placed box, which its painted box may exceed.
QPoint At(const platform::Label* label, Where where)
{
    const QRect box = label->HitRect();
    const int w = box.width();
    const int h = box.height();
    QPoint at;
    switch (where) {
    case Where::Centre: at = {w / 2, h / 2}; break;
    case Where::RightEdge: at = {w, h / 2}; break; // X = width in twips
    case Where::BottomEdge: at = {w / 2, h}; break; // Y = height in twips
    case Where::PastRight: at = {w + 1, h / 2}; break;
    case Where::AboveTop: at = {w / 2, -1}; break;
    }
    return box.topLeft() + at;
}

enum class Act { Press, Move, Release };

// One mouse event and what the link shows after it: its border (armed) and
// how many times the page has been opened so far.
struct Step {
    Act act;
    int buttons;
    Where where;
    bool border;
    int opens;
};
using Script = QList<Step>;

constexpr int L = Qt::LeftButton;
constexpr int R = Qt::RightButton;

} // namespace

Q_DECLARE_METATYPE(Script)

class tst_AboutForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void versionText_data();
    void versionText();
    void opensCentredOverMain_data();
    void opensCentredOverMain();
    void link_data();
    void link();
    void closes_data();
    void closes();

private:
    FakeServices os_;
    std::unique_ptr<platform::Form> main_;
};

void tst_AboutForm::initTestCase()
{
    // The worked positions below assume 96 DPI, 15 twips to the pixel.
    QCOMPARE(platform::TwipsPerPixelX(), 15.0f);
    QCOMPARE(platform::TwipsPerPixelY(), 15.0f);
}

void tst_AboutForm::init()
{
    os_.beeps = 0;
    os_.openedUrls.clear();
    main_ = std::make_unique<platform::Form>();
    main_->SetClientSize(4095, 4800);
    main_->setWindowIcon(resources::AppIcon());
    main_->move(100, 80);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void tst_AboutForm::cleanup()
{
    main_.reset();
}

void tst_AboutForm::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("minor below ten gets a zero") << 2 << 2 << "Version 2.02";
    QTest::newRow("minor zero") << 2 << 0 << "Version 2.00";
    QTest::newRow("two-digit minor") << 2 << 15 << "Version 2.15";
    QTest::newRow("three-digit minor is not cut") << 2 << 123 << "Version 2.123";
    QTest::newRow("two-digit major") << 10 << 1 << "Version 10.01";
}

void tst_AboutForm::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    QCOMPARE(VersionText(static_cast<std::int16_t>(major), static_cast<std::int16_t>(minor)), text);
}

void tst_AboutForm::opensCentredOverMain_data()
{
    // The main window is 273 x 320 pixels (4095 x 4800 twips, no frame on
    // the offscreen platform); the dialog 264 x 186 (3960 x 2790).
    QTest::addColumn<QPoint>("mainAt");
    QTest::addColumn<QPoint>("dialogAt");
    // left 1500 + 67.5 = 1567.5 twips = 104.5 px; top 1200 + 1005 = 2205 = 147 px
    QTest::newRow("on screen") << QPoint(100, 80) << QPoint(105, 147);
    // left -4500 + 67.5 = -4432.5 = -295.5 px; top -6000 + 1005 = -4995 = -333 px
    QTest::newRow("off the top left, not pulled back") << QPoint(-300, -400) << QPoint(-296, -333);
}

void tst_AboutForm::opensCentredOverMain()
{
    QFETCH(QPoint, mainAt);
    QFETCH(QPoint, dialogAt);
    main_->move(mainAt);
    QCOMPARE(main_->pos(), mainAt);

    AboutForm about(*main_);
    QCOMPARE(about.pos(), dialogAt);
    QCOMPARE(about.size(), QSize(264, 186)); // moved, not resized
    QVERIFY(!about.parentWidget()); // no owner: modality alone holds the main window
}

void tst_AboutForm::link_data()
{
    using W = Where;
    QTest::addColumn<Script>("script");
    QTest::newRow("click opens once") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Release, L, W::Centre, false, 1},
    };
    QTest::newRow("drag out and release opens nothing") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Move, L, W::PastRight, false, 0},
        {Act::Release, L, W::PastRight, false, 0},
    };
    QTest::newRow("drag out and back opens once") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Move, L, W::AboveTop, false, 0},
        {Act::Move, L, W::Centre, true, 0},
        {Act::Release, L, W::Centre, false, 1},
    };
    QTest::newRow("right edge is inside") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Move, L, W::RightEdge, true, 0},
        {Act::Release, L, W::RightEdge, false, 1},
    };
    QTest::newRow("bottom edge is inside") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Move, L, W::BottomEdge, true, 0},
        {Act::Release, L, W::BottomEdge, false, 1},
    };
    QTest::newRow("right button does nothing") << Script{
        {Act::Press, R, W::Centre, false, 0},
        {Act::Move, R, W::RightEdge, false, 0},
        {Act::Release, R, W::Centre, false, 0},
    };
    QTest::newRow("left and right at once do nothing") << Script{
        {Act::Press, L | R, W::Centre, false, 0},
        {Act::Move, L | R, W::Centre, false, 0},
        {Act::Release, L | R, W::Centre, false, 0},
    };
    QTest::newRow("right button while armed is ignored") << Script{
        {Act::Press, L, W::Centre, true, 0},
        {Act::Press, R, W::Centre, true, 0},
        {Act::Release, R, W::Centre, true, 0},
        {Act::Release, L, W::Centre, false, 1},
    };
}

void tst_AboutForm::link()
{
    QFETCH(Script, script);
    AboutForm about(*main_);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    platform::Label* link = about.Label4;

    for (qsizetype i = 0; i < script.size(); ++i) {
        const Step& step = script[i];
        const auto buttons = static_cast<Qt::MouseButton>(step.buttons);
        const QPoint at = At(link, step.where);
        switch (step.act) {
        case Act::Press: QTest::mousePress(link, buttons, {}, at); break;
        case Act::Move: QTest::mouseMove(link, at); break;
        case Act::Release: QTest::mouseRelease(link, buttons, {}, at); break;
        }
        const QByteArray where = "after step " + QByteArray::number(i);
        QVERIFY2(link->Border() == step.border, where);
        QVERIFY2(os_.openedUrls.size() == step.opens, where);
    }
    for (const QString& url : std::as_const(os_.openedUrls))
        QCOMPARE(url, resources::LoadResString(resources::kWebPageString));
    QVERIFY(about.isVisible()); // the link never closes the dialog
}

void tst_AboutForm::closes_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("OK clicked") << false << 0 << int(QDialog::Accepted);
    QTest::newRow("Enter on OK") << true << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape") << true << int(Qt::Key_Escape) << int(QDialog::Rejected);
}

void tst_AboutForm::closes()
{
    QFETCH(bool, byKey);
    QFETCH(int, key);
    QFETCH(int, result);

    // Two openings: each is a new dialog, runs modally and beeps once.
    for (int opening = 1; opening <= 2; ++opening) {
        AboutForm about(*main_);
        QTimer::singleShot(0, &about, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QCOMPARE(QApplication::activeModalWidget(), &about);
            QCOMPARE(QApplication::focusWidget(), about.Command1);
            if (byKey)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            else
                QTest::mouseClick(about.Command1, Qt::LeftButton);
        });
        // Should the user's action not close it, this ends the wait instead.
        QTimer::singleShot(5000, &about, [&] { about.done(-1); });
        QCOMPARE(about.exec(), result);
        QCOMPARE(os_.beeps, opening);
    }
}

QTEST_MAIN(tst_AboutForm)
#include "tst_about_form.moc"
