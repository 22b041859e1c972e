#pragma once

#include "platform/desktop/screen_sampler.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>

#include <functional>
#include <optional>
#include <utility>

class QMouseEvent;

namespace platform::portal {

class FrozenOverlay;

// The pick where the session keeps the screen from programs: one
// screenshot through the desktop portal at the start, shown on covers over
// every screen, with a pass for each pointer motion and none while the
// pointer rests, since nothing on a frozen screen changes. Where the portal
// gives no screenshot, the desktop's own one-shot picker stands in, and its
// answer makes one pass. Escape cancels like the right button: a cover over
// every screen must not hold a user who has no mouse at hand.
class FrozenSampler final : public QObject, public ScreenSampler {
    Q_OBJECT

public:
    // `x11` for an X client of Xwayland, which names its window to the portal
    // and covers the screens with windows the compositor leaves alone.
    // Natively the covers take the focus, and `activationToken` gives the
    // token that hands it back to the main window at the end.
    explicit FrozenSampler(bool x11, std::function<QString()> activationToken = {});

    bool Prepare() override;
    void Begin(QWidget* overlay, const QCursor& cursor) override;
    void End(QWidget* overlay) override;
    QPoint HotSpot() override;
    std::uint32_t Pixel(QPoint at) override;
    void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) override;
    void NextPass() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PointerAt(QPointF layoutPoint);
    void Released(QMouseEvent* event);
    // Ends the pick as a release of `button` on the pick's overlay would.
    void EndWith(Qt::MouseButton button);
    void SendRelease(Qt::MouseButton button, Qt::MouseButtons stillDown);

    bool x11_;
    std::function<QString()> activationToken_;
    QImage shot_;
    QRectF layout_;
    // Where the shot is missing: the desktop picker's colour, or nothing
    // when the user cancelled it.
    bool desktopPicked_ = false;
    std::optional<std::uint32_t> picked_;

    QPointer<QWidget> owner_;
    QList<QPointer<FrozenOverlay>> covers_;
    QPointF pointer_;
    // A position came since the last pass began (or since the covers went up).
    bool moved_ = false;
    bool ended_ = true;
    // A release that came with a motion not sampled yet.
    std::optional<std::pair<Qt::MouseButton, Qt::MouseButtons>> release_;
};

} // namespace platform::portal
