#include "platform/controls/focus.h"

#include <QWidget>

namespace platform {

void MoveFocus(QWidget* control)
{
    if (control->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace platform
