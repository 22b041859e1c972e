#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class QScreen;

namespace platform::x11 {

// The pause between two passes of a pick on the live screen. What a pass
// shows changes only when the pointer moves, a button or key is used, or the
// screen under the pointer shows its next frame; the pause lasts until the
// first of them, so a resting pointer costs one pass a frame, not a busy
// core. Between Start and Stop it watches the program's input events.
class FrameWait final : public QObject {
public:
    FrameWait();

    void Start();
    // Also ends a Wait under way: the pick is over.
    void Stop();

    // Runs the events that came in since the last pass, then waits for the
    // next input event or for the next frame of `screen` (60 Hz where the
    // screen does not tell), counted from the start of the last pass.
    void Wait(const QScreen* screen);
    // Whether an input event came in during the last Wait.
    bool InputCame() const { return woken_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer frame_;
    std::chrono::steady_clock::time_point passStart_;
    bool running_ = false;
    bool woken_ = false;
};

} // namespace platform::x11
