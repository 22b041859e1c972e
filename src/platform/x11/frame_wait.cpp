#include "platform/x11/frame_wait.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>

namespace platform::x11 {

namespace {

using Clock = std::chrono::steady_clock;

Clock::duration FramePeriod(const QScreen* screen)
{
    // 0 where the X server gives no mode to compute it from; a rate past any
    // monitor's would bring the busy loop back.
    const qreal rate = screen ? screen->refreshRate() : 0;
    const qreal hertz = rate >= 1 && rate <= 1000 ? rate : 60;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<qreal>(1 / hertz));
}

} // namespace

FrameWait::FrameWait()
{
    frame_.setSingleShot(true);
    // A coarse timer may fire up to 5% late, a frame's worth at 60 Hz.
    frame_.setTimerType(Qt::PreciseTimer);
}

void FrameWait::Start()
{
    running_ = true;
    passStart_ = Clock::now();
    qApp->installEventFilter(this);
}

void FrameWait::Stop()
{
    running_ = false;
    if (qApp)
        qApp->removeEventFilter(this);
}

void FrameWait::Wait(const QScreen* screen)
{
    const Clock::time_point due = passStart_ + FramePeriod(screen);
    woken_ = false;
    do {
        // Rounded down: a pass a little early keeps a change on the screen
        // within one frame of the preview.
        const auto left = std::chrono::floor<std::chrono::milliseconds>(due - Clock::now());
        if (left <= std::chrono::milliseconds(0)) {
            QApplication::processEvents(); // a pass as long as a frame still lets input in
            break;
        }
        // The timer only wakes the wait; whatever else comes in runs as it
        // would in the application's own loop.
        frame_.start(left);
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } while (running_ && !woken_);
    frame_.stop();
    passStart_ = Clock::now();
}

bool FrameWait::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: woken_ = true; break;
    default: break;
    }
    return false;
}

} // namespace platform::x11
