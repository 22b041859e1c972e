#include "platform/x11/x11_desktop.h"

#include "platform/desktop/pick_keys.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/polling_sampler.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/single_instance.h"
#include "platform/x11/desktop_entry.h"
#include "platform/x11/display.h"
#include "platform/x11/frame_extents.h"
#include "platform/x11/frame_wait.h"
#include "platform/x11/pointer_grab.h"
#include "platform/x11/screen_pixels.h"
#include "platform/x11/window_finder.h"

#include <QApplication>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <optional>
#include <utility>

namespace platform::x11 {

namespace {

// The one-pixel overlay over the live screen, a pass each time the pointer
// moves or the screen shows a new frame. This desktop exists only while Qt
// runs on an X display, so there is one.
class X11Sampler final : public PollingSampler {
public:
    bool Prepare() override { return true; }

    void Begin(QWidget* overlay, const QCursor& cursor) override
    {
        // The grab brings the overlay every button event wherever the pointer
        // is, so it need not be seen: shaped to leave out its one pixel, it
        // lets the screen show through, and a colour that changes under a
        // resting pointer is read rather than the overlay's own. (An empty
        // region would mean no mask at all.)
        overlay->setMask(QRegion(-1, -1, 1, 1));
        overlay_ = overlay;
        followed_.reset();
        hotSpot_.reset();
        reads_ = OpenDisplayLike(TheDisplay());
        keyed_ = PickState::Going;
        qApp->installEventFilter(&keys_);
        PollingSampler::Begin(overlay, cursor);
        wait_.Start();
    }

    void End(QWidget* overlay) override
    {
        wait_.Stop();
        qApp->removeEventFilter(&keys_);
        PollingSampler::End(overlay);
        // Closed with the pick: past the end of the program, the X server
        // may be gone, and Xlib ends a program that loses a connection.
        if (reads_)
            CloseDisplay(reads_);
        reads_ = nullptr;
    }

    QPoint HotSpot() override
    {
        // Under the grab every pointer move reaches the overlay and ends the
        // wait: a pass the frame started finds the pointer where the last
        // one did, without a round trip.
        if (!grabbed_ || !hotSpot_ || wait_.InputCame())
            hotSpot_ = PointerPosition(Reads());
        return *hotSpot_;
    }
    std::uint32_t Pixel(QPoint at) override { return ScreenPixel(Reads(), at); }

    void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) override
    {
        // A resting pointer sends nothing to the X server but the reads.
        if (followed_ == std::pair(at, colour))
            return;
        followed_ = std::pair(at, colour);
        PollingSampler::Follow(overlay, at, colour);
    }

    // The overlay ends the pick itself, with the release it receives while
    // the pass waits.
    PickState NextPass() override
    {
        wait_.Wait(overlay_ ? overlay_->screen() : nullptr);
        return std::exchange(keyed_, PickState::Going);
    }

protected:
    void Capture(QWidget* overlay, const QCursor& cursor) override
    {
        grabbed_ = false;
        if (!overlay->windowHandle()) {
            PollingSampler::Capture(overlay, cursor);
            return;
        }
        grabbed_ = GrabPointer(TheDisplay(), static_cast<WindowId>(overlay->winId()), cursor);
    }

    void Release(QWidget*) override { UngrabPointer(TheDisplay()); }

private:
    Display* Reads() const { return reads_ ? reads_ : TheDisplay(); }

    // The keys reach the window that had the focus before the pick, which
    // keeps it: the overlay never takes it.
    void Key(const PickKey& key)
    {
        if (key.end) {
            keyed_ = *key.end;
            return;
        }
        // The real pointer moves, by device pixels, which are X's; the
        // motion wakes the next pass.
        WarpPointerBy(TheDisplay(), key.nudge);
    }

    Display* reads_ = nullptr;
    QPointer<QWidget> overlay_;
    bool grabbed_ = false;
    std::optional<QPoint> hotSpot_;
    std::optional<std::pair<QPoint, std::uint32_t>> followed_;
    FrameWait wait_;
    PickState keyed_ = PickState::Going;
    PickKeyFilter keys_{[this](const PickKey& key) { Key(key); }};
};

class X11Desktop final : public Desktop {
public:
    X11Desktop() { qApp->installEventFilter(&entry_); }
    ~X11Desktop() override
    {
        if (qApp)
            qApp->removeEventFilter(&entry_);
    }

    ScreenSampler& Sampler() override { return sampler_; }

    bool AnotherCopyRuns(const QString& product) override
    {
        return PreviousInstance(product, SessionKey(DisplayName(TheDisplay())));
    }

    // The running copy bears the product name as its title from the moment
    // its window exists.
    void BringRunningCopyForward(const QString& product) override
    {
        BringForward(TheDisplay(), product);
    }

    bool PlacesWindows() override { return true; }
    QMargins FrameBeforeShow(QWidget* window) override { return x11::FrameBeforeShow(window); }
    void Beep() override { QApplication::beep(); }

private:
    DesktopEntryNamer entry_;
    X11Sampler sampler_;
};

} // namespace

Desktop* TheX11Desktop()
{
    if (!TheDisplay())
        return nullptr;
    static X11Desktop desktop;
    return &desktop;
}

} // namespace platform::x11
