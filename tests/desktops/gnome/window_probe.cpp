// Preloaded into the real program by the desktop tests. Once the main window
// has been on the screen for a moment, it writes to the file that
// TINCTOR_WINDOW_REPORT names what a user would see cut: every caption, box
// text and frame title that its control cannot show whole, every control
// that lies beyond the window's edge, and how many of the menu bar's titles
// show. It reads the widgets the desktop's theme laid out and drives nothing.
//
// The report, one finding a line:
//   font <family> <points>      the application font the theme gave
//   menus <shown> of <all>      titles in the menu bar, not behind its "»"
//   clipped <control> "<text>" needs <w>x<h> has <w>x<h>
//   outside <control> "<text>"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QWindow>

namespace {

constexpr char kMainTitle[] = "Tinctor";
// After the first exposure, for the compositor's configure and any scale
// change to be laid out.
constexpr int kSettleMs = 500;

QString Size(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString Clipped(const QWidget* control, const QString& text, QSize needs, QSize has)
{
    if (needs.width() <= has.width() && needs.height() <= has.height())
        return {};
    return QStringLiteral("clipped %1 \"%2\" needs %3 has %4")
        .arg(control->objectName(), text, Size(needs), Size(has));
}

// QLabel's size hint is the whole text with its frame, without word wrap.
QString CheckLabel(const QLabel* label)
{
    if (label->text().isEmpty())
        return {};
    return Clipped(label, label->text(), label->sizeHint(), label->size());
}

// Where QLineEdit::paintEvent draws its text: the style's contents rectangle
// less the text margins and two pixels each side.
QString CheckTextBox(const QLineEdit* box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth = box->hasFrame()
        ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box)
        : 0;
    const QRect contents = box->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, box)
                               .marginsRemoved(box->textMargins());
    constexpr int kHorizontalMargin = 2;
    const QFontMetrics metrics = box->fontMetrics();
    return Clipped(box, box->text(),
        QSize(metrics.horizontalAdvance(box->text()) + 2 * kHorizontalMargin, metrics.height()),
        contents.size());
}

// The title is cut where the style places it beyond the frame's right edge.
QString CheckFrame(const QGroupBox* frame)
{
    if (frame->title().isEmpty())
        return {};
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.textAlignment = frame->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect title = frame->style()->subControlRect(
        QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    return Clipped(frame, frame->title(), title.size(),
        QSize(frame->width() - qMax(0, title.x()), title.height()));
}

QStringList Findings(const QWidget* window)
{
    QStringList found;
    const QFont font = QApplication::font();
    found << QStringLiteral("font %1 %2").arg(font.family()).arg(font.pointSizeF());
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        int shown = 0;
        int all = 0;
        for (QAction* menu : bar->actions()) {
            if (!menu->isVisible() || menu->isSeparator())
                continue;
            ++all;
            const QRect place = bar->actionGeometry(menu);
            shown += !place.isEmpty() && bar->rect().contains(place);
        }
        found << QStringLiteral("menus %1 of %2").arg(shown).arg(all);
    }
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window))
            continue;
        QString finding;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            finding = CheckLabel(label);
            text = label->text();
        } else if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            finding = CheckTextBox(box);
            text = box->text();
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
            finding = CheckFrame(frame);
            text = frame->title();
        } else {
            continue;
        }
        if (!finding.isEmpty())
            found << finding;
        const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
        if (!window->rect().contains(place))
            found << QStringLiteral("outside %1 \"%2\"").arg(control->objectName(), text);
    }
    return found;
}

void Write(const QString& path, const QStringList& lines)
{
    // Whole or not at all: the test reads as soon as the file is there.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    file.commit();
}

void Watch()
{
    const QString path = qEnvironmentVariable("TINCTOR_WINDOW_REPORT");
    if (path.isEmpty())
        return;
    auto* poll = new QTimer(qApp);
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, path] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowTitle() != QLatin1String(kMainTitle) || !window->isVisible()
                || !window->windowHandle() || !window->windowHandle()->isExposed())
                continue;
            poll->stop();
            QTimer::singleShot(
                kSettleMs, window, [window, path] { Write(path, Findings(window)); });
            return;
        }
    });
    poll->start();
}

// Before the application object exists there is no event loop to poll from.
void Start()
{
    QMetaObject::invokeMethod(qApp, &Watch, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
