#include "platform/portal/frozen_sampler.h"

#include "colour/color_value.h"
#include "platform/portal/cover_session.h"
#include "platform/portal/frozen_overlay.h"
#include "platform/portal/screenshot_portal.h"
#include "platform/portal/shot_geometry.h"
#include "platform/wayland/screen_copy.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace platform::portal {

namespace {

// The compositor tells a new cover where the pointer is as it maps it; a
// compositor that waits for the next motion instead leaves Qt's own idea.
constexpr int kEnterWaitMs = 1000;

QRectF Layout()
{
    QRect layout;
    for (const QScreen* screen : QGuiApplication::screens())
        layout |= screen->geometry();
    return layout;
}

} // namespace

FrozenSampler::FrozenSampler(const CoverSession& session) : session_(session)
{ }

bool FrozenSampler::Prepare()
{
    shot_ = QImage();
    desktopPicked_ = false;
    picked_.reset();
    const QString parent = session_.PortalParent(QApplication::activeWindow());

    // The compositor's own copy where it offers one: no file, no PNG, and
    // no portal needed; the portal's screenshot where not.
    std::optional<QImage> shot = wayland::CopyScreens();
    if (!shot)
        shot = TakeScreenshot(parent);
    if (shot) {
        shot_ = std::move(*shot);
        layout_ = Layout();
        return true;
    }
    const PickedColour picked = PickColour(parent);
    if (picked.outcome == PickedColour::Unavailable)
        return false;
    desktopPicked_ = true;
    if (picked.outcome == PickedColour::Picked)
        picked_ = picked.colour;
    return true;
}

void FrozenSampler::Begin(QWidget* overlay, const QCursor& cursor)
{
    owner_ = overlay;
    ended_ = false;
    moved_ = false;
    outcome_.reset();
    pending_.reset();
    if (desktopPicked_)
        return;
    for (QScreen* screen : QGuiApplication::screens()) {
        auto* cover = new FrozenOverlay(screen, shot_, layout_, cursor, session_);
        cover->setObjectName(QStringLiteral("FrozenOverlay(%1)").arg(covers_.size()));
        connect(cover, &FrozenOverlay::PointerAt, this, &FrozenSampler::PointerAt);
        connect(cover, &FrozenOverlay::Released, this, &FrozenSampler::Released);
        covers_ << cover;
        cover->Cover();
    }
    qApp->installEventFilter(this);

    // Waits without spinning: the timer wakes the wait if no enter comes.
    bool waited = false;
    QTimer enough;
    enough.setSingleShot(true);
    connect(&enough, &QTimer::timeout, this, [&waited] { waited = true; });
    enough.start(kEnterWaitMs);
    while (!moved_ && !ended_ && !outcome_ && !waited)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!moved_)
        pointer_ = QCursor::pos();
}

void FrozenSampler::End(QWidget*)
{
    ended_ = true;
    qApp->removeEventFilter(this);
    // Deleted later, not here: an event on its way may still be a cover's.
    for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
        if (cover) {
            cover->hide();
            cover->deleteLater();
        }
    }
    const bool covered = !covers_.isEmpty();
    covers_.clear();
    QWidget* main = owner_ && owner_->parentWidget() ? owner_->parentWidget()->window() : nullptr;
    if (covered && main)
        session_.ReturnFocus(main);
    // A screenshot of a large desktop is tens of megabytes.
    shot_ = QImage();
}

QPoint FrozenSampler::HotSpot()
{
    if (desktopPicked_)
        return {};
    return ShotPixel(pointer_, layout_, shot_.size());
}

std::uint32_t FrozenSampler::Pixel(QPoint at)
{
    if (desktopPicked_)
        return picked_.value_or(0xFFFFFFFF);
    if (!shot_.valid(at))
        return 0xFFFFFFFF;
    const QRgb pixel = shot_.pixel(at);
    return colour::Pack({qRed(pixel), qGreen(pixel), qBlue(pixel)});
}

void FrozenSampler::Follow(QWidget*, QPoint at, std::uint32_t colour)
{
    for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
        if (cover)
            cover->ShowLoupe(pointer_, at, colour);
    }
}

PickState FrozenSampler::NextPass()
{
    // The desktop's picker has had its one click: a colour keeps, a cancel
    // restores.
    if (desktopPicked_)
        return picked_ ? PickState::Kept : PickState::Restored;
    moved_ = false;
    if (pending_)
        outcome_ = std::exchange(pending_, std::nullopt);
    while (!moved_ && !ended_ && !outcome_)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return outcome_.value_or(PickState::Going);
}

bool FrozenSampler::eventFilter(QObject* watched, QEvent* event)
{
    if (!ended_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        outcome_ = PickState::Restored;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FrozenSampler::PointerAt(QPointF layoutPoint)
{
    pointer_ = layoutPoint;
    moved_ = true;
}

void FrozenSampler::Released(QMouseEvent* event)
{
    const PickState state = AfterRelease(event->button(), event->buttons());
    if (state == PickState::Going)
        return;
    // A click without a motion between may come in one batch with the
    // press's exact position: the colour there is sampled first.
    if (moved_)
        pending_ = state;
    else
        outcome_ = state;
}

} // namespace platform::portal
