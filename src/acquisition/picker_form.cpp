#include "acquisition/picker_form.h"
#include "resources/help_topics.h"

#include "platform/label.h"
#include "platform/pointer_capture.h"
#include "resources/cursors.h"

#include <QMouseEvent>
#include <QWindow>

PickerForm::PickerForm(QWidget* owner)
    // A tool-tip window: on top of everything, left alone by the window
    // manager (override-redirect on X11) and never given the focus, which
    // stays with the main window's menus for the keyboard.
    : QWidget(owner,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("PickerForm"));
    setProperty("HelpContextID", resources::kPickTopic);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
}

void PickerForm::Load()
{
    // One screen pixel: a device pixel, whatever Qt's scaling.
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    const int side = qMax(1, qRound(1.0 / ratio));
    setFixedSize(side, side);
    show();
    raise();
    platform::CapturePointer(this, resources::LoadResCursor(resources::kEyedropperCursor));
    MouseButton = 0;
}

void PickerForm::Follow(QPoint at, std::uint32_t colour)
{
    // Painted before it moves: a window carries its old pixels along, and
    // the next pass would read the colour of the previous pixel back off it.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, platform::ToQColor(colour & 0xFFFFFF));
    setPalette(pal);
    repaint();
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    move(qRound(at.x() / ratio), qRound(at.y() / ratio));
}

void PickerForm::End(std::int32_t button)
{
    MouseButton = button;
    platform::ReleasePointer(this);
    Unload();
}

void PickerForm::mouseReleaseEvent(QMouseEvent* event)
{
    // Only the left or right button alone ends a pick; the middle one, or a
    // second button, lets it go on.
    if (event->button() == Qt::LeftButton && event->buttons() == Qt::NoButton)
        End(1);
    else if (event->button() == Qt::RightButton && event->buttons() == Qt::NoButton)
        End(2);
}

void PickerForm::Unload()
{
    hide();
}
