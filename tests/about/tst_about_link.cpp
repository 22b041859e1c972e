#include "about/about_form.h"
#include "fakes/fake_services.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/services/units.h"

#include <QtTest>

// The version dialog's link at the DPI CTest gives the run (96, 120, 144):
// its text and underline draw whole, and its hit box stays where it is laid
// out. The link's mouse behaviour itself is tst_about_form's.
class tst_AboutLink : public QObject {
    Q_OBJECT

private slots:
    void drawsWholeInItsPlace();
};

void tst_AboutLink::drawsWholeInItsPlace()
{
    FakeServices os;
    platform::Form main;
    main.SetClientSize(4095, 4800);
    main.show();
    AboutForm about(main);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    platform::Label* link = about.Label4;

    const QRect placed = platform::TwipsToPixels(315, 1440, 2865, 180);
    QCOMPARE(link->HitRect().translated(link->pos()), placed);
    QVERIFY(std::abs(link->geometry().center().y() - placed.center().y()) <= 1);
    QVERIFY(std::abs(link->geometry().center().x() - placed.center().x()) <= 1);

    link->SetBorder(true); // armed: the border takes its pixels too
    const QFontMetrics metrics(link->font());
    const QRect inside = link->contentsRect();
    const QByteArray sizes = QByteArray::number(inside.width()) + " x "
        + QByteArray::number(inside.height()) + " for "
        + QByteArray::number(metrics.horizontalAdvance(link->text())) + " x "
        + QByteArray::number(metrics.height());
    QVERIFY2(metrics.horizontalAdvance(link->text()) <= inside.width(), sizes);
    QVERIFY2(metrics.height() <= inside.height(), sizes);
    QVERIFY2(metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() <= inside.height(),
        "the underline is cut off");
}

QTEST_MAIN(tst_AboutLink)
#include "tst_about_link.moc"
