#include "about/about_form.h"
#include "fakes/fake_services.h"
#include "main_window/color_form.h"
#include "shell/start_up.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QtTest>

// The windows at the desktop's interface text sizes: every caption, box text
// and menu title must be seen whole, as a user of GNOME (11 pt) or KDE
// (10 pt) sees them.
class tst_TextSize : public QObject {
    Q_OBJECT

private slots:
    void wholeAtDesktopTextSize_data();
    void wholeAtDesktopTextSize();
};

namespace {

// What of `window` cannot be read whole, one line per control.
QStringList Clipped(const QWidget& window)
{
    QStringList clipped;
    const auto check = [&clipped](const QWidget* control, QSize needed, QSize room) {
        if (needed.width() > room.width() || needed.height() > room.height())
            clipped << QStringLiteral("%1 needs %2x%3 in %4x%5")
                           .arg(control->objectName())
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            check(label, label->fontMetrics().size(Qt::TextShowMnemonic, label->text()),
                label->contentsRect().size());
    }
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        const QSize title = frame->fontMetrics().size(Qt::TextShowMnemonic, frame->title());
        check(frame, title, frame->size());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        check(button, button->sizeHint(), button->size());
    // The boxes hold three decimal digits or two hexadecimal ones.
    const auto widest = [](const QFontMetrics& metrics, const QString& digits) {
        int width = 0;
        for (QChar digit : digits)
            width = std::max(width, metrics.horizontalAdvance(digit));
        return width;
    };
    for (const QLineEdit* box : window.findChildren<QLineEdit*>()) {
        const QFontMetrics metrics = box->fontMetrics();
        const int text = std::max(3 * widest(metrics, QStringLiteral("0123456789")),
            2 * widest(metrics, QStringLiteral("0123456789ABCDEF")));
        QStyleOptionFrame panel;
        panel.initFrom(box);
        panel.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, box);
        const QRect inside = box->style()->subElementRect(QStyle::SE_LineEditContents, &panel, box);
        constexpr int kLineEditMargin = 2; // QLineEdit's own, either side
        check(box, QSize(text, metrics.height()),
            QSize(inside.width() - 2 * kLineEditMargin, inside.height()));
    }
    if (const QMenuBar* bar = window.findChild<QMenuBar*>()) {
        for (QAction* menu : bar->actions()) {
            const QRect title = bar->actionGeometry(menu);
            if (title.isEmpty() || !bar->rect().contains(title))
                clipped << QStringLiteral("menu %1 hidden").arg(menu->text());
        }
        const auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        if (more && more->isVisible())
            clipped << QStringLiteral("menu bar overflows");
    }
    return clipped;
}

} // namespace

void tst_TextSize::wholeAtDesktopTextSize_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("readable"); // absurd sizes need only not to crash
    QTest::newRow("4 pt") << 4.0 << true;
    QTest::newRow("9 pt") << 9.0 << true;
    QTest::newRow("10 pt, KDE") << 10.0 << true;
    QTest::newRow("11 pt, GNOME") << 11.0 << true;
    QTest::newRow("12 pt") << 12.0 << true;
    QTest::newRow("72 pt") << 72.0 << false;
}

void tst_TextSize::wholeAtDesktopTextSize()
{
    QFETCH(double, points);
    QFETCH(bool, readable);

    const QFont desktop = QApplication::font();
    QFont font = desktop;
    font.setPointSizeF(points);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&desktop] { QApplication::setFont(desktop); });

    QTemporaryDir folder;
    FakeServices os;
    os.appPath = folder.path();
    ColorForm form;
    shell::Form_Load(form);
    // A stored position keeps meaning the same place on the screen.
    form.SetLeft(1500);
    QCOMPARE(form.geometry().x(), 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Drawn for 9 point text; larger text makes all of it larger alike.
    const double scale = std::max(1.0, points / 9.0);
    QCOMPARE(form.Client()->width(), qRound(273 * scale));
    QCOMPARE(form.Client()->height(), qRound(320 * scale));

    AboutForm about(form);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    if (readable) {
        for (const QWidget* window : std::initializer_list<const QWidget*>{&form, &about}) {
            const QStringList clipped = Clipped(*window);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
        }
    }
}

QTEST_MAIN(tst_TextSize)
#include "tst_text_size.moc"
