#pragma once

#include <QMargins>

class QWidget;

namespace platform::x11 {

// The frame the window manager will draw around `window`, asked before the
// window is first shown (_NET_REQUEST_FRAME_EXTENTS), in pixels; none where
// the window manager does not say within a short wait.
QMargins FrameBeforeShow(QWidget* window);

} // namespace platform::x11
