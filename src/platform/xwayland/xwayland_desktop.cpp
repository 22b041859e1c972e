#include "platform/xwayland/xwayland_desktop.h"

#include "platform/desktop/copy_channel.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/single_instance.h"
#include "platform/portal/cover_session.h"
#include "platform/portal/frozen_sampler.h"
#include "platform/x11/desktop_entry.h"
#include "platform/x11/display.h"
#include "platform/x11/frame_extents.h"
#include "platform/x11/window_finder.h"

#include <QApplication>
#include <QWidget>

namespace platform::xwayland {

namespace {

// Covers as X windows, which the compositor would place, when managed, on
// the focused output whatever their geometry: each is left to itself
// (override-redirect) on its own screen instead of full-screen.
class XCovers final : public portal::CoverSession {
public:
    // The portal may then place its dialogs over our window.
    QString PortalParent(const QWidget* activeWindow) const override
    {
        if (!activeWindow)
            return {};
        return QStringLiteral("x11:") + QString::number(activeWindow->winId(), 16);
    }

    Qt::WindowFlags CoverFlags() const override
    {
        return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | Qt::BypassWindowManagerHint;
    }
    void ShowCover(QWidget* cover) const override { cover->show(); }

    // Xwayland reports a press on a scaled output at a wrong place.
    bool PressesWhereTheyHappen() const override { return false; }

    // The X server knows every window's place.
    bool ClearCovers() const override { return false; }
    bool KnowsWindowPlaces() const override { return true; }

    // Covers the window manager never saw never took the focus.
    void ReturnFocus(QWidget*, const std::function<void()>& dropCovers) const override
    {
        dropCovers();
    }
};

class XwaylandDesktop final : public Desktop {
public:
    XwaylandDesktop() { qApp->installEventFilter(&entry_); }
    ~XwaylandDesktop() override
    {
        if (qApp)
            qApp->removeEventFilter(&entry_);
    }

    ScreenSampler& Sampler() override { return sampler_; }

    // The rival may be a native window, which no X window list shows: the
    // session's copies meet at the lock's socket too.
    bool AnotherCopyRuns(const QString& product) override
    {
        const QString key = Key();
        const bool another = PreviousInstance(product, key);
        if (!another) {
            ListenForLaterCopies(product, key,
                [product](const QString& token) { BringThisCopyForward(product, token); });
        }
        return another;
    }

    // A native rival answers at its socket; an X one is found by its title.
    void BringRunningCopyForward(const QString& product) override
    {
        if (!CallRunningCopy(product, Key()))
            x11::BringForward(x11::TheDisplay(), product);
    }

    bool PlacesWindows() override { return true; }
    QMargins FrameBeforeShow(QWidget* window) override { return x11::FrameBeforeShow(window); }
    void Beep() override { QApplication::beep(); }

private:
    static QString Key() { return SessionKey(x11::DisplayName(x11::TheDisplay())); }

    x11::DesktopEntryNamer entry_;
    XCovers covers_;
    portal::FrozenSampler sampler_{covers_};
};

} // namespace

Desktop* TheXwaylandDesktop()
{
    if (!x11::TheDisplay())
        return nullptr;
    static XwaylandDesktop desktop;
    return &desktop;
}

} // namespace platform::xwayland
