#include "platform/controls/label.h"

#include "platform/controls/accessible_label.h"
#include "platform/controls/qt_color.h"
#include "platform/services/units.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace platform {

namespace {

constexpr int kBorderWidth = 1; // the panel SetBorder draws, at Qt's line width

} // namespace

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DescribeLabelsByRole();
}

void Label::SetCaption(const QString& caption)
{
    caption_ = caption;
    // Captions keep their line ends in the CR LF form; Qt breaks on LF alone.
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setText(shown);
    if (!hitSize_.isEmpty())
        FitCaption();
    for (QWidget* control : std::as_const(named_))
        control->setAccessibleName(SpokenCaption(caption));
    // Qt tells of the new text as a new name; here it is the description.
    if (role_ != Role::Text) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Label::SetRole(Role role)
{
    role_ = role;
    setFocusPolicy(role == Role::Link ? Qt::TabFocus : Qt::NoFocus);
}

void Label::Press()
{
    MouseArgs args;
    args.button = kLeftButton;
    args.x = static_cast<float>(HitRect().width() / 2) * TwipsPerPixelX();
    args.y = static_cast<float>(HitRect().height() / 2) * TwipsPerPixelY();
    emit MouseDown(args);
    emit MouseUp(args);
}

void Label::Names(QWidget* control)
{
    named_.append(control);
    control->setAccessibleName(SpokenCaption(caption_));
}

// The pick sets both colours on every pass; a palette change repolishes and
// repaints the label, so only a real change is made.
void Label::SetBackColor(std::uint32_t colour)
{
    const std::uint32_t before = BackColor();
    if (autoFillBackground() && before == colour)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(colour));
    setPalette(pal);
    setAutoFillBackground(true);
    if (role_ == Role::ColourSample && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, SampleText(before), SampleText(colour));
        QAccessible::updateAccessibility(&event);
    }
}

std::uint32_t Label::BackColor() const
{
    return ToColorValue(palette().color(QPalette::Window));
}

void Label::SetForeColor(std::uint32_t colour)
{
    if (palette().isBrushSet(QPalette::Active, QPalette::WindowText) && ForeColor() == colour)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(colour));
    setPalette(pal);
}

std::uint32_t Label::ForeColor() const
{
    return ToColorValue(palette().color(QPalette::WindowText));
}

void Label::SetBorder(bool on)
{
    setFrameStyle(on ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
}

void Label::FitCaption()
{
    const QRect placed = HitRect().translated(pos());
    const QFontMetrics metrics = fontMetrics();
    // With a buddy the access key's "&" is not drawn but underlines.
    const int flags = buddy() ? Qt::TextShowMnemonic : 0;
    const QSize needed = QSize(metrics.size(flags, text()).width(), metrics.height())
                             .grownBy(QMargins(1, 1, 1, 1) * kBorderWidth);
    const QSize size = placed.size().expandedTo(needed);
    // The extra pixel of an odd growth goes above and to the left.
    const QPoint growth(
        (size.width() - placed.width() + 1) / 2, (size.height() - placed.height() + 1) / 2);
    const QPoint corner = placed.topLeft() - (alignment() & Qt::AlignHCenter ? growth : QPoint());
    setGeometry(QRect(corner, size));
    hitOrigin_ = placed.topLeft() - corner;
    hitSize_ = placed.size();
}

QRect Label::HitRect() const
{
    return hitSize_.isEmpty() ? rect() : QRect(hitOrigin_, hitSize_);
}

void Label::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && !hitSize_.isEmpty())
        FitCaption();
}

void Label::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (Pressable() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        Press();
        return; // taken: a dialog would run its default button on Enter
    }
    QLabel::keyPressEvent(event);
}

void Label::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A label is no widget the style knows to mark; mark it as it marks a button.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

MouseArgs Label::Args(const QMouseEvent& event, bool pressOrRelease) const
{
    return ToMouseArgs(event, pressOrRelease, hitOrigin_);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    const MouseArgs args = Args(*event, true);
    if (!Inside(args, HitRect().size())) {
        event->ignore(); // the painted margin is not the label
        return;
    }
    event->accept(); // accepting keeps the moves and the release with us
    emit MouseDown(args);
}

void Label::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseMove(Args(*event, false));
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseUp(Args(*event, true));
}

} // namespace platform
