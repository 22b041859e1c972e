#include "platform/wayland/commit_after_configure.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace platform::wayland {

namespace {

void CommitOneFrame(QWidget* window)
{
    if (window && window->isVisible())
        window->update(QRect(0, 0, 1, 1));
}

} // namespace

bool CommitAfterConfigure::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActivationChange:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
            CommitOneFrame(static_cast<QWidget*>(watched));
        break;
    case QEvent::WindowStateChange:
        // Every other configure comes as a state change of the native
        // window, also when the widget's state stays as it was.
        if (watched->isWindowType()) {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->windowHandle() == watched)
                    CommitOneFrame(window);
            }
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::wayland
