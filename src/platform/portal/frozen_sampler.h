#pragma once

#include "platform/desktop/screen_sampler.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>

#include <optional>

class QMouseEvent;

namespace platform::portal {

class CoverSession;
class FrozenOverlay;

// The pick where the session keeps the screen from programs: one
// screenshot through the desktop portal at the start, shown on covers over
// every screen, with a pass for each pointer motion and none while the
// pointer rests, since nothing on a frozen screen changes. Where the portal
// gives no screenshot, the desktop's own one-shot picker stands in, and its
// answer makes one pass. The covers take the buttons, so NextPass reports
// how the pick ended. Escape restores like the right button: a cover over
// every screen must not hold a user who has no mouse at hand.
class FrozenSampler final : public QObject, public ScreenSampler {
    Q_OBJECT

public:
    // `session` (not owned) outlives the sampler.
    explicit FrozenSampler(const CoverSession& session);

    bool Prepare() override;
    void Begin(QWidget* overlay, const QCursor& cursor) override;
    void End(QWidget* overlay) override;
    QPoint HotSpot() override;
    std::uint32_t Pixel(QPoint at) override;
    void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) override;
    PickState NextPass() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts a cover over every screen: `clear` ones before the screenshot,
    // the others showing it, with `cursor`.
    void RaiseCovers(bool clear, const QCursor& cursor);
    void DropCovers();
    // Lets a cursor just set reach the screen, for `ms`.
    static void Settle(int ms);
    // Waits for the pick to end or the pointer to tell where it is; for
    // `timeoutMs` at most, where not negative.
    void WaitForPointer(int timeoutMs);
    // Shows our main window, as it is now, at its place on the covers.
    void ShowMainWindow();
    void PointerAt(QPointF layoutPoint);
    void Released(QMouseEvent* event);

    const CoverSession& session_;
    QImage shot_;
    QRectF layout_;
    // Where the shot is missing: the desktop picker's colour, or nothing
    // when the user cancelled it.
    bool desktopPicked_ = false;
    std::optional<std::uint32_t> picked_;

    QPointer<QWidget> owner_;
    QList<QPointer<FrozenOverlay>> covers_;
    QMetaObject::Connection unplugged_;
    QMetaObject::Connection plugged_;
    // Where our main window lies, in layout pixels: empty where unknown.
    QRectF mainPlace_;
    // The colour the last pass put into the main window, and the one the
    // covers show it with: it changes only when the colour does.
    std::optional<std::uint32_t> followed_;
    std::optional<std::uint32_t> shownWith_;
    QPointF pointer_;
    // The desktop has told where the pointer is, in this pick.
    bool known_ = false;
    // A position came since the last pass began (or since the covers went up).
    bool moved_ = false;
    bool ended_ = true;
    // How the user ended the pick, and an ending that came with a motion
    // not sampled yet, which waits for the pass that shows its colour.
    std::optional<PickState> outcome_;
    std::optional<PickState> pending_;
};

} // namespace platform::portal
