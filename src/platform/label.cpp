#include "platform/label.h"

#include "platform/qt_color.h"

#include <QMouseEvent>

namespace platform {

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::SetCaption(const QString& caption)
{
    caption_ = caption;
    // Captions keep their line ends in the CR LF form; Qt breaks on LF alone.
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setText(shown);
}

// The pick sets both colours on every pass; a palette change repolishes and
// repaints the label, so only a real change is made.
void Label::SetBackColor(std::uint32_t colour)
{
    if (autoFillBackground() && BackColor() == colour)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(colour));
    setPalette(pal);
    setAutoFillBackground(true);
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

void Label::mousePressEvent(QMouseEvent* event)
{
    event->accept(); // accepting keeps the moves and the release with us
    emit MouseDown(ToMouseArgs(*event, true));
}

void Label::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseMove(ToMouseArgs(*event, false));
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseUp(ToMouseArgs(*event, true));
}

} // namespace platform
