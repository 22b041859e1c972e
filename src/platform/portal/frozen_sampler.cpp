#include "platform/portal/frozen_sampler.h"

#include "colour/color_value.h"
#include "platform/portal/frozen_overlay.h"
#include "platform/portal/screenshot_portal.h"
#include "platform/portal/shot_geometry.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

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

FrozenSampler::FrozenSampler(bool x11, std::function<QString()> activationToken)
    : x11_(x11), activationToken_(std::move(activationToken))
{ }

bool FrozenSampler::Prepare()
{
    shot_ = QImage();
    desktopPicked_ = false;
    picked_.reset();
    // Under Xwayland the portal may place its dialogs over our window.
    QString parent;
    if (const QWidget* active = QApplication::activeWindow(); x11_ && active)
        parent = QStringLiteral("x11:") + QString::number(active->winId(), 16);

    if (std::optional<QImage> shot = TakeScreenshot(parent)) {
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
    release_.reset();
    if (desktopPicked_)
        return;
    for (QScreen* screen : QGuiApplication::screens()) {
        auto* cover = new FrozenOverlay(screen, shot_, layout_, cursor, x11_);
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
    while (!moved_ && !ended_ && !waited)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!moved_)
        pointer_ = QCursor::pos();
}

void FrozenSampler::End(QWidget*)
{
    ended_ = true;
    qApp->removeEventFilter(this);
    // Ended from a cover's own release: it goes once its handler has
    // returned.
    for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
        if (cover) {
            cover->hide();
            cover->deleteLater();
        }
    }
    const bool covered = !covers_.isEmpty();
    covers_.clear();
    // The compositor would give the focus to whatever lies under the
    // pointer, and a token Qt asks for on a cover's behalf dies with it.
    QWidget* main = owner_ && owner_->parentWidget() ? owner_->parentWidget()->window() : nullptr;
    if (covered && main && activationToken_) {
        if (const QString token = activationToken_(); !token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        main->activateWindow();
    }
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

void FrozenSampler::NextPass()
{
    if (desktopPicked_) {
        // The desktop's picker has had its one click: a colour keeps, a
        // cancel restores.
        EndWith(picked_ ? Qt::LeftButton : Qt::RightButton);
        return;
    }
    moved_ = false;
    if (release_) {
        const auto [button, stillDown] = *std::exchange(release_, std::nullopt);
        SendRelease(button, stillDown);
        return;
    }
    while (!moved_ && !ended_)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool FrozenSampler::eventFilter(QObject* watched, QEvent* event)
{
    if (!ended_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        EndWith(Qt::RightButton);
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
    // A click without a motion between may come in one batch with the
    // press's exact position: the colour there is sampled first.
    if (moved_) {
        release_.emplace(event->button(), event->buttons());
        return;
    }
    SendRelease(event->button(), event->buttons());
}

void FrozenSampler::EndWith(Qt::MouseButton button)
{
    SendRelease(button, Qt::NoButton);
}

void FrozenSampler::SendRelease(Qt::MouseButton button, Qt::MouseButtons stillDown)
{
    // The pick's overlay decides what a release means, as it does on X11.
    if (!owner_)
        return;
    QMouseEvent release(
        QEvent::MouseButtonRelease, QPointF(), QPointF(), button, stillDown, Qt::NoModifier);
    QApplication::sendEvent(owner_, &release);
}

} // namespace platform::portal
