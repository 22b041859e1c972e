#include "platform/controls/frame.h"

#include <QMouseEvent>

namespace platform {

Frame::Frame(QWidget* parent) : QGroupBox(parent)
{
    setMouseTracking(true);
}

void Frame::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseDown(ToMouseArgs(*event, true));
}

void Frame::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseMove(ToMouseArgs(*event, false));
}

void Frame::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseUp(ToMouseArgs(*event, true));
}

} // namespace platform
