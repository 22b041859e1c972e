#include "platform/portal/frozen_overlay.h"

#include "colour/color_value.h"
#include "colour/notations.h"
#include "platform/portal/cover_session.h"
#include "platform/portal/shot_geometry.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace platform::portal {

namespace {

// Eleven pixels square around the hot spot, nine times their size, with the
// colour's notation in a strip below.
constexpr int kCells = 11;
constexpr int kCell = 9;
constexpr int kGrid = kCells * kCell;
constexpr int kStrip = 18;
constexpr QSize kLoupe{kGrid + 2, kGrid + kStrip + 3};

} // namespace

FrozenOverlay::FrozenOverlay(QScreen* screen, const QImage& shot, const QRectF& layout,
    const QCursor& cursor, const CoverSession& session)
    : QWidget(nullptr, session.CoverFlags()), screen_(screen->geometry()), shot_(shot),
      layout_(layout), session_(session)
{
    // Untitled: a later copy looks for our main window by its title.
    // Every pixel is painted from the shot: nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setCursor(cursor);
    setScreen(screen);
    setGeometry(screen_);
}

void FrozenOverlay::Cover()
{
    session_.ShowCover(this);
    raise();
    windowHandle()->installEventFilter(this);
}

void FrozenOverlay::ShowLoupe(QPointF pointer, QPoint pixel, std::uint32_t colour)
{
    if (loupeShown_)
        update(loupe_);
    loupeShown_ = QRectF(screen_).contains(pointer);
    if (!loupeShown_)
        return;
    loupe_ = LoupeRect(pointer - QPointF(screen_.topLeft()), kLoupe, screen_.size());
    pixel_ = pixel;
    if (colour != colour_ || notation_.isEmpty()) {
        colour_ = colour;
        const colour::Rgb rgb = colour::Unpack(colour);
        notation_ = QString::fromStdString(colour::CopyText(rgb.r, rgb.g, rgb.b, colour::Html));
    }
    update(loupe_);
}

void FrozenOverlay::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (const QRect& area : event->region()) {
        const QRectF source
            = ShotRect(QRectF(area.translated(screen_.topLeft())), layout_, shot_.size());
        painter.drawImage(QRectF(area), shot_, source);
    }
    if (loupeShown_ && event->region().intersects(loupe_))
        PaintLoupe(painter);
}

void FrozenOverlay::PaintLoupe(QPainter& painter) const
{
    // Pixels beyond the shot's edge show black, as nothing lies there.
    QImage patch(kCells, kCells, QImage::Format_RGB32);
    patch.fill(Qt::black);
    const QPoint corner = pixel_ - QPoint(kCells / 2, kCells / 2);
    for (int y = 0; y < kCells; ++y) {
        for (int x = 0; x < kCells; ++x) {
            const QPoint at = corner + QPoint(x, y);
            if (shot_.valid(at))
                patch.setPixel(x, y, shot_.pixel(at));
        }
    }
    const QRect grid(loupe_.x() + 1, loupe_.y() + 1, kGrid, kGrid);
    painter.drawImage(grid, patch);

    // The hot-spot pixel in a rim of black and white, which shows on any
    // colour.
    const QRect hot(grid.x() + kCells / 2 * kCell, grid.y() + kCells / 2 * kCell, kCell, kCell);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.drawRect(hot.adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::white);
    painter.drawRect(hot.adjusted(0, 0, -1, -1));

    const QRect strip(grid.x(), grid.bottom() + 2, kGrid, kStrip);
    painter.fillRect(strip, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(strip, Qt::AlignCenter, notation_);
    painter.drawRect(loupe_.adjusted(0, 0, -1, -1));
    painter.drawLine(grid.left(), grid.bottom() + 1, grid.right(), grid.bottom() + 1);
}

bool FrozenOverlay::eventFilter(QObject* watched, QEvent* event)
{
    // The widget's own enter comes in whole pixels, mapped back from a
    // rounded global position; the native window's keeps the fraction.
    if (event->type() == QEvent::Enter && watched == windowHandle())
        emit PointerAt(QPointF(screen_.topLeft()) + static_cast<QEnterEvent*>(event)->position());
    return QWidget::eventFilter(watched, event);
}

void FrozenOverlay::mouseMoveEvent(QMouseEvent* event)
{
    // Qt rounds position() and globalPosition() to whole logical pixels;
    // the scene position keeps the fraction that reaches the odd device
    // pixels of a scaled output.
    const QPointF at = QPointF(screen_.topLeft()) + event->scenePosition();
    previous_ = std::exchange(last_, {at, event->timestamp()});
    emit PointerAt(at);
}

void FrozenOverlay::mousePressEvent(QMouseEvent* event)
{
    if (session_.PressesWhereTheyHappen()) {
        emit PointerAt(QPointF(screen_.topLeft()) + event->scenePosition());
        return;
    }
    // Qt moves the pointer to a misplaced press first, with the press's
    // time: the motion before it stands.
    if (last_.timestamp == event->timestamp() && previous_.timestamp != 0)
        emit PointerAt(previous_.at);
}

void FrozenOverlay::mouseReleaseEvent(QMouseEvent* event)
{
    emit Released(event);
}

} // namespace platform::portal
