#include "platform/portal/frozen_sampler.h"

#include "colour/color_value.h"
#include "platform/desktop/pick_keys.h"
#include "platform/kwin/screenshot.h"
#include "platform/portal/cover_session.h"
#include "platform/portal/frozen_overlay.h"
#include "platform/portal/screenshot_portal.h"
#include "platform/portal/shot_geometry.h"
#include "platform/wayland/screen_copy.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <future>
#include <utility>

namespace platform::portal {

namespace {

// The compositor tells a new cover where the pointer is as it maps it, and
// takes its blank cursor then; one that waits for the next motion instead
// is not waited for long before the screenshot.
constexpr int kEnterWaitMs = 500;
// A new cursor reaches the screen at the compositor's next frame: three
// frames at 60 Hz. Xwayland hands an X client's on later, and not always
// at its next frame.
constexpr int kCursorSettleMs = 50;
constexpr int kXCursorSettleMs = 150;

// KDE's portal draws the pointer into its screenshots, where a click without
// a motion would pick the arrow's colour. Elsewhere the covers can go up
// with the shot already on them, and must on sway, which shows nothing
// behind a full-screen window.
bool ShotsShowThePointer()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(u"KDE");
}

// The picker's overlay belongs to our main window.
QWidget* MainWindow(QWidget* overlay)
{
    return overlay && overlay->parentWidget() ? overlay->parentWidget()->window() : nullptr;
}

// The portal's wait holds input to our windows back. The right button or
// Escape pressed meanwhile calls the pick off, and must not reach the main
// window, where the button would open its menu under covers about to go
// up. The left button still keeps the colour where clear covers took it.
class HeldInput final : public QObject {
public:
    bool calledOff = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
                break;
            calledOff = true;
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
                break;
            calledOff = true;
            return true;
        case QEvent::ContextMenu: return true;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }
};

bool CalledOffMeanwhile()
{
    HeldInput held;
    qApp->installEventFilter(&held);
    QApplication::processEvents();
    qApp->removeEventFilter(&held);
    return held.calledOff;
}

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
    // The compositor's own copy where it offers one: no file, no PNG, no
    // portal needed, and never the pointer in it. It comes within a frame,
    // before the compositor has heard that the menu which chose the pick
    // has closed, unless Qt has told it and it has answered.
    QGuiApplication::sync();
    std::optional<QImage> shot = wayland::CopyScreens();
    // KWin's own, where it grants it to us: as fast, and without the
    // pointer, which KDE's portal draws into its screenshot.
    if (!shot)
        shot = kwin::CaptureWorkspace();
    if (!shot) {
        // Clear covers show the live screen but for the pointer. Where
        // covers cannot be clear (an X client's, under KWin, kept showing
        // their first frame), our own windows hide the pointer instead,
        // where it lies on them: elsewhere an X client has no say over it.
        const bool hidden = ShotsShowThePointer() && !session_.ClearCovers();
        if (hidden) {
            QGuiApplication::setOverrideCursor(Qt::BlankCursor);
            Settle(kXCursorSettleMs);
        } else if (ShotsShowThePointer()) {
            RaiseCovers(true, QCursor());
        }
        shot = TakeScreenshot(parent);
        if (hidden)
            QGuiApplication::restoreOverrideCursor();
        if (shot && CalledOffMeanwhile()) {
            // As a cancelled desktop picker: no covers, the colour from before.
            DropCovers();
            desktopPicked_ = true;
            return true;
        }
    }
    if (shot) {
        shot_ = std::move(*shot);
        layout_ = Layout();
        return true;
    }
    DropCovers();
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
    if (desktopPicked_) {
        ended_ = false;
        outcome_.reset();
        return;
    }
    if (covers_.isEmpty()) {
        RaiseCovers(false, cursor);
    } else {
        for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
            if (cover)
                cover->Freeze(shot_, layout_, cursor);
        }
    }
    mainPlace_ = {};
    std::future<std::optional<QRectF>> found;
    if (QWidget* main = MainWindow(owner_)) {
        if (session_.KnowsWindowPlaces()) {
            mainPlace_ = main->geometry();
        } else {
            // Looked for while the compositor maps the covers, which takes
            // longer: until then they show the window as the shot has it,
            // at the same place.
            found = std::async(
                std::launch::async, FindInShot, main->grab().toImage(), shot_, layout_);
        }
    }
    followed_.reset();
    shownWith_.reset();
    ShowMainWindow();
    // Qt's own idea of the pointer may be stale by far: no loupe and no
    // colour until the desktop tells.
    WaitForPointer(-1);
    if (found.valid()) {
        mainPlace_ = found.get().value_or(QRectF());
        ShowMainWindow();
    }
}

void FrozenSampler::RaiseCovers(bool clear, const QCursor& cursor)
{
    ended_ = false;
    moved_ = false;
    known_ = false;
    outcome_.reset();
    pending_.reset();
    for (QScreen* screen : QGuiApplication::screens()) {
        auto* cover = new FrozenOverlay(screen, clear, session_);
        cover->setObjectName(QStringLiteral("FrozenOverlay(%1)").arg(covers_.size()));
        if (!clear)
            cover->Freeze(shot_, layout_, cursor);
        connect(cover, &FrozenOverlay::PointerAt, this, &FrozenSampler::PointerAt);
        connect(cover, &FrozenOverlay::Released, this, &FrozenSampler::Released);
        covers_ << cover;
        cover->Cover();
    }
    qApp->installEventFilter(this);
    // A screen gone takes its part of the picture, and one plugged in has
    // none and no cover, where a click would pass the pick by: the pick
    // ends as if cancelled.
    const auto rearranged = [this] {
        if (!ended_)
            outcome_ = PickState::Restored;
    };
    unplugged_ = connect(qApp, &QGuiApplication::screenRemoved, this, rearranged);
    plugged_ = connect(qApp, &QGuiApplication::screenAdded, this, rearranged);
    if (clear) {
        WaitForPointer(kEnterWaitMs);
        Settle(kCursorSettleMs);
    }
}

void FrozenSampler::Settle(int ms)
{
    QEventLoop settle;
    QTimer::singleShot(ms, &settle, &QEventLoop::quit);
    settle.exec(QEventLoop::ExcludeUserInputEvents);
}

void FrozenSampler::WaitForPointer(int timeoutMs)
{
    // Waits without spinning: the timer wakes the wait if nothing comes.
    bool waited = false;
    QTimer enough;
    enough.setSingleShot(true);
    connect(&enough, &QTimer::timeout, this, [&waited] { waited = true; });
    if (timeoutMs >= 0)
        enough.start(timeoutMs);
    while (!known_ && !ended_ && !outcome_ && !waited)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void FrozenSampler::DropCovers()
{
    qApp->removeEventFilter(this);
    disconnect(unplugged_);
    disconnect(plugged_);
    // Deleted later, not here: an event on its way may still be a cover's.
    for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
        if (cover) {
            cover->hide();
            cover->deleteLater();
        }
    }
    covers_.clear();
}

void FrozenSampler::End(QWidget*)
{
    ended_ = true;
    QWidget* main = MainWindow(owner_);
    if (!covers_.isEmpty() && main)
        session_.ReturnFocus(main, [this] { DropCovers(); });
    else
        DropCovers();
    // A screenshot of a large desktop is tens of megabytes.
    shot_ = QImage();
}

void FrozenSampler::ShowMainWindow()
{
    QWidget* main = MainWindow(owner_);
    if (!main || mainPlace_.isEmpty())
        return;
    const QPixmap look = main->grab();
    for (const QPointer<FrozenOverlay>& cover : std::as_const(covers_)) {
        if (cover)
            cover->ShowWindow(look, mainPlace_);
    }
}

QPoint FrozenSampler::HotSpot()
{
    // Nowhere on the shot, which no pixel is read at.
    if (desktopPicked_ || !known_)
        return {-1, -1};
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
    if (!known_)
        return;
    followed_ = colour;
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
    // The pass before has put its colour into the main window; drawing
    // the window anew for an unchanged colour would cost every pass.
    if (followed_ != shownWith_) {
        ShowMainWindow();
        shownWith_ = followed_;
    }
    moved_ = false;
    if (pending_)
        outcome_ = std::exchange(pending_, std::nullopt);
    while (!moved_ && !ended_ && !outcome_)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // A pick that never learnt where the pointer was has no colour to keep.
    if (outcome_ == PickState::Kept && !known_)
        return PickState::Restored;
    return outcome_.value_or(PickState::Going);
}

bool FrozenSampler::eventFilter(QObject* watched, QEvent* event)
{
    if (ended_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const std::optional<PickKey> key = ReadPickKey(*static_cast<QKeyEvent*>(event));
    if (!key)
        return QObject::eventFilter(watched, event);
    if (key->end) {
        // As a button's release: a nudge not shown yet is shown first.
        if (moved_)
            pending_ = key->end;
        else
            outcome_ = key->end;
    } else if (known_) {
        // Device pixels of the screen under the hot spot.
        const QScreen* screen = QGuiApplication::screenAt(pointer_.toPoint());
        const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
        const QPointF nudged = pointer_ + QPointF(key->nudge) / ratio;
        // Not past the layout's edge, where no pixel would be read.
        pointer_ = {std::clamp(nudged.x(), layout_.left(), layout_.right() - 1 / ratio),
            std::clamp(nudged.y(), layout_.top(), layout_.bottom() - 1 / ratio)};
        moved_ = true;
    }
    return true;
}

void FrozenSampler::PointerAt(QPointF layoutPoint)
{
    pointer_ = layoutPoint;
    moved_ = true;
    known_ = true;
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
