#pragma once

class QCursor;
class QWidget;

namespace platform {

// Sends every mouse button event on the screen to `window` and shows
// `cursor` everywhere until the capture is released: an X11 pointer grab
// with that cursor. Nothing global is changed, so a program that dies
// holding the grab leaves the user's pointer as it was (the X server drops
// a dead client's grab). Without X11 only our own windows are captured.
void CapturePointer(QWidget* window, const QCursor& cursor);
void ReleasePointer(QWidget* window);

} // namespace platform
