#pragma once

class QWidget;

namespace platform {

// Moves the keyboard focus to `control` unless it is not on screen (its
// window not shown yet, for instance): then the move is skipped.
void MoveFocus(QWidget* control);

} // namespace platform
