#include "platform/label.h"

#include <QMouseEvent>

namespace platform {

QColor ToQColor(std::uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

std::uint32_t ToColorValue(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red())
        | static_cast<std::uint32_t>(colour.green()) << 8
        | static_cast<std::uint32_t>(colour.blue()) << 16;
}

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setWordWrap(false);
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

void Label::SetBackColor(std::uint32_t colour)
{
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
    setLineWidth(1);
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
