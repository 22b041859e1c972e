#include "platform/desktop/pick_keys.h"

#include <QKeyEvent>

namespace platform {

namespace {

constexpr int kShiftStep = 10;

} // namespace

std::optional<PickKey> ReadPickKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return std::nullopt;
    const int step = mods == Qt::ShiftModifier ? kShiftStep : 1;
    switch (event.key()) {
    case Qt::Key_Left: return PickKey{{-step, 0}, {}};
    case Qt::Key_Right: return PickKey{{step, 0}, {}};
    case Qt::Key_Up: return PickKey{{0, -step}, {}};
    case Qt::Key_Down: return PickKey{{0, step}, {}};
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return PickKey{{}, PickState::Kept};
    case Qt::Key_Escape: return PickKey{{}, PickState::Restored};
    default: return std::nullopt;
    }
}

bool PickKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        if (const std::optional<PickKey> key = ReadPickKey(*static_cast<QKeyEvent*>(event))) {
            onKey_(*key);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
