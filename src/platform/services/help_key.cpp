#include "platform/services/help_key.h"

#include "platform/services/help.h"
#include "platform/services/services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace platform {

namespace {

// The open menu decides first: the innermost one that carries a number,
// walking out through the menus it was opened from.
int PopupContext()
{
    for (QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget()) {
        if (!qobject_cast<QMenu*>(w))
            break;
        if (const int context = HelpContextID(w))
            return context;
    }
    return 0;
}

class HelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        const bool press = event->type() == QEvent::KeyPress;
        if (!press && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1
            || (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            return false;
        // Claiming the override keeps any F1 shortcut from taking the key.
        event->accept();
        if (press)
            Help(receiver);
        return true; // the widget under the key never sees F1
    }

private:
    static void Help(QObject* receiver)
    {
        QWidget* window = QApplication::activeWindow();
        // Where a platform makes the open menu the active window, the window
        // it was opened from is the one that answers.
        while (window && window->windowType() == Qt::Popup)
            window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        if (!window) {
            if (auto* widget = qobject_cast<QWidget*>(receiver))
                window = widget->window();
        }
        int context = PopupContext();
        if (!context && window)
            context = HelpContextID(window);
        if (context)
            Os().WinHelp(window, HelpFile(), HELP_CONTEXT, context);
        else
            Os().WinHelp(window, HelpFile(), HELP_FINDER, 0);
    }
};

} // namespace

void InstallHelpKey()
{
    static QPointer<HelpKey> key; // once per application object
    if (key)
        return;
    key = new HelpKey(qApp); // lives as long as the application
    qApp->installEventFilter(key);
}

} // namespace platform
