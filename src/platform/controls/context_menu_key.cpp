#include "platform/controls/context_menu_key.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

namespace {

class ShiftF10 final : public QObject {
public:
    using QObject::QObject;

protected:
    // Sees the key once the focused control has passed it on unused.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focused = QApplication::focusWidget();
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier || !focused
            || focused->window() != watched)
            return false;
        // Where the menu key's would open: at the caret, or mid-control.
        const QRect caret = focused->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint at = caret.isValid() ? caret.center() : focused->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focused->mapToGlobal(at));
        QCoreApplication::sendEvent(focused, &menu);
        return true;
    }
};

} // namespace

void OpenMenusOnShiftF10(QWidget* window)
{
    window->installEventFilter(new ShiftF10(window));
}

} // namespace platform
