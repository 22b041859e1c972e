#include "platform/x11/x11_desktop.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/polling_sampler.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/single_instance.h"
#include "platform/x11/desktop_entry.h"
#include "platform/x11/display.h"
#include "platform/x11/pointer_grab.h"
#include "platform/x11/screen_pixels.h"
#include "platform/x11/window_finder.h"

#include <QApplication>
#include <QWidget>

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
