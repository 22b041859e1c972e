#pragma once

class QWidget;

namespace platform {

// Shift+F10 opens the focused control's own menu in `window`, as it does on
// GNOME, KDE and Windows; Qt on Linux knows only the Menu key.
void OpenMenusOnShiftF10(QWidget* window);

} // namespace platform
