#include "acquisition/picker_form.h"
#include "resources/help_topics.h"

#include "platform/controls/mouse.h"
#include "platform/services/help.h"
#include "resources/cursors.h"

#include <QMouseEvent>

PickerForm::PickerForm(QWidget* owner, platform::ScreenSampler& screen)
    // A tool-tip window: on top of everything, left alone by the window
    // manager (override-redirect on X11) and never given the focus, which
    // stays with the main window's menus for the keyboard.
    : QWidget(owner,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | Qt::WindowDoesNotAcceptFocus),
      screen_(screen)
{
    setObjectName(QStringLiteral("PickerForm"));
    platform::SetHelpContextID(this, resources::kPickTopic);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
}

void PickerForm::Load()
{
    screen_.Begin(this, resources::LoadResCursor(resources::kEyedropperCursor));
    MouseButton = 0;
}

void PickerForm::Follow(QPoint at, std::uint32_t colour)
{
    screen_.Follow(this, at, colour);
}

void PickerForm::NextPass()
{
    EndAs(screen_.NextPass());
}

void PickerForm::End(std::int32_t button)
{
    MouseButton = button;
    screen_.End(this);
}

void PickerForm::EndAs(platform::PickState state)
{
    if (MouseButton != 0)
        return; // ended already, by the window closing under the pick
    switch (state) {
    case platform::PickState::Kept: End(platform::kLeftButton); break;
    case platform::PickState::Restored: End(platform::kRightButton); break;
    case platform::PickState::Going: break;
    }
}

void PickerForm::mouseReleaseEvent(QMouseEvent* event)
{
    EndAs(platform::AfterRelease(event->button(), event->buttons()));
}
