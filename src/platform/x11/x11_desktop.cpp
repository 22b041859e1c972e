#include "platform/x11/x11_desktop.h"

#include "platform/desktop/copy_channel.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/polling_sampler.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/session_type.h"
#include "platform/desktop/single_instance.h"
#include "platform/portal/frozen_sampler.h"
#include "platform/x11/display.h"
#include "platform/x11/pointer_grab.h"
#include "platform/x11/screen_pixels.h"
#include "platform/x11/window_finder.h"

#include <QWidget>

#include <X11/Xlib.h>

namespace platform::x11 {

namespace {

// The one-pixel overlay over the live screen, polled without pause. This
// desktop exists only while Qt runs on an X display, so there is one.
class X11Sampler final : public PollingSampler {
public:
    bool Prepare() override { return true; }
    QPoint HotSpot() override { return PointerPosition(TheDisplay()); }
    std::uint32_t Pixel(QPoint at) override { return ScreenPixel(TheDisplay(), at); }

protected:
    void Capture(QWidget* overlay, const QCursor& cursor) override
    {
        if (!overlay->windowHandle()) {
            PollingSampler::Capture(overlay, cursor);
            return;
        }
        GrabPointer(TheDisplay(), static_cast<WindowId>(overlay->winId()), cursor);
    }

    void Release(QWidget*) override { UngrabPointer(TheDisplay()); }
};

class X11Desktop final : public Desktop {
public:
    // Under Xwayland the root window has no pixels and the pointer's
    // position stops at our own windows' edges: the pick runs over a
    // screenshot there, as it does natively.
    ScreenSampler& Sampler() override
    {
        if (InWaylandSession())
            return frozen_;
        return sampler_;
    }

    // Under Xwayland the rival may be a native window, which no X window
    // list shows: the session's copies meet at the lock's socket too.
    bool AnotherCopyRuns(const QString& product) override
    {
        const QString key = Key();
        const bool another = PreviousInstance(product, key);
        if (!another && InWaylandSession()) {
            ListenForLaterCopies(product, key,
                [product](const QString& token) { BringThisCopyForward(product, token); });
        }
        return another;
    }

    // The running copy bears the product name as its title from the moment
    // its window exists. A dialog it shows comes first, or the user would
    // face a main window that does not respond.
    void BringRunningCopyForward(const QString& product) override
    {
        if (InWaylandSession() && CallRunningCopy(product, Key()))
            return;
        Display* dpy = TheDisplay();
        const WindowId running = FindWindow(dpy, product);
        if (!running)
            return;
        const WindowId front = GetLastActivePopup(dpy, running);
        SetForegroundWindow(dpy, front);
        ShowWindowRestore(dpy, front);
    }

    bool PlacesWindows() override { return true; }

private:
    static QString Key() { return SessionKey(QString::fromLocal8Bit(DisplayString(TheDisplay()))); }

    X11Sampler sampler_;
    portal::FrozenSampler frozen_{true};
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
