#pragma once

#include <QObject>

namespace platform::wayland {

// sway applies a change of focus or of a window's state in a transaction
// that waits up to 200 ms for every window it reconfigured to commit a
// frame. Qt 6.4 acknowledges a configure that changes no size without
// committing one, so each such change (the pick's covers going full-screen,
// the focus moving between them and the main window under them) froze the
// pointer for that long. Installed on the application, this repaints one
// pixel of the window concerned, which commits the acknowledgement.
class CommitAfterConfigure final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace platform::wayland
