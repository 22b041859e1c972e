#include "acquisition/picker_form.h"
#include "resources/help_topics.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_sampler.h"
#include "platform/services/help.h"
#include "resources/cursors.h"

#include <QMouseEvent>

PickerForm::PickerForm(QWidget* owner)
    // A tool-tip window: on top of everything, left alone by the window
    // manager (override-redirect on X11) and never given the focus, which
    // stays with the main window's menus for the keyboard.
    : QWidget(owner,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("PickerForm"));
    platform::SetHelpContextID(this, resources::kPickTopic);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
}

void PickerForm::Load()
{
    platform::TheDesktop().Sampler().Begin(
        this, resources::LoadResCursor(resources::kEyedropperCursor));
    MouseButton = 0;
}

void PickerForm::Follow(QPoint at, std::uint32_t colour)
{
    platform::TheDesktop().Sampler().Follow(this, at, colour);
}

void PickerForm::End(std::int32_t button)
{
    MouseButton = button;
    platform::TheDesktop().Sampler().End(this);
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
