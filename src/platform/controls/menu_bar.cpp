#include "platform/controls/menu_bar.h"

#include <QKeyEvent>
#include <QLabel>

namespace platform {

namespace {

// The box whose caption carries `key` as its letter.
QWidget* CaptionBuddy(const QWidget* window, const QKeySequence& key)
{
    for (const QLabel* caption : window->findChildren<QLabel*>()) {
        if (caption->buddy() && caption->isVisible()
            && QKeySequence::mnemonic(caption->text()) == key)
            return caption->buddy();
    }
    return nullptr;
}

} // namespace

MenuBar::MenuBar(QWidget* window) : QMenuBar(window)
{
    setObjectName(QStringLiteral("menuBar"));
    window->installEventFilter(this);
}

bool MenuBar::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (QWidget* box = CaptionBuddy(window(), shortcut->key())) {
            box->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    return QMenuBar::event(event);
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier && isVisible()) {
            Highlight();
            return true;
        }
    }
    return QMenuBar::eventFilter(watched, event);
}

void MenuBar::Highlight()
{
    // F10 stands for a lone Alt, which Qt's menu bar knows by the press
    // (as the desktops report it, before Alt counts as held) and the
    // release.
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QMenuBar::eventFilter(window(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QMenuBar::eventFilter(window(), &release);
}

} // namespace platform
