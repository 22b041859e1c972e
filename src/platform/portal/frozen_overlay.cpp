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

#include <cmath>
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

FrozenOverlay::FrozenOverlay(QScreen* screen, bool clear, const CoverSession& session)
    : QWidget(nullptr, session.CoverFlags()), screen_(screen->geometry()), session_(session)
{
    // Untitled: a later copy looks for our main window by its title.
    // Every pixel is painted, from the shot or clear: nothing to clear
    // first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    if (clear)
        setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
    setScreen(screen);
    setGeometry(screen_);
}

void FrozenOverlay::Freeze(const QImage& shot, const QRectF& layout, const QCursor& cursor)
{
    shot_ = shot;
    layout_ = layout;
    setCursor(cursor);
    update();
}

void FrozenOverlay::ShowWindow(const QPixmap& look, const QRectF& place)
{
    const QRect local = place.translated(-QPointF(screen_.topLeft())).toAlignedRect();
    update(windowPlace_ | local);
    window_ = look;
    windowPlace_ = local;
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
    if (shot_.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        return;
    }
    for (const QRect& area : event->region()) {
        const QRectF source
            = ShotRect(QRectF(area.translated(screen_.topLeft())), layout_, shot_.size());
        painter.drawImage(QRectF(area), shot_, source);
    }
    if (!window_.isNull() && event->region().intersects(windowPlace_))
        painter.drawPixmap(windowPlace_.topLeft(), window_);
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

std::optional<QRectF> FindInShot(const QImage& look, const QImage& shot, const QRectF& layout)
{
    if (look.isNull() || shot.isNull() || layout.isEmpty())
        return std::nullopt;
    // The shot shows a window of a screen of lower scale enlarged, by a
    // whole factor on the outputs of a usual layout, and smoothed both ways:
    // each of its pixels then holds at least nine sixteenths of ours. At the
    // same scale they are ours exactly.
    const double ratio = shot.width() / layout.width();
    const int factor = qRound(ratio / look.devicePixelRatio());
    if (factor < 1 || std::abs(factor * look.devicePixelRatio() - ratio) > 0.01)
        return std::nullopt;
    const int slack = factor == 1 ? 0 : 112;
    const QImage window = look.convertToFormat(QImage::Format_RGB32);
    const QImage picture
        = shot.format() == QImage::Format_RGB32 ? shot : shot.convertToFormat(QImage::Format_RGB32);
    const int width = window.width() * factor;
    const int height = window.height() * factor;
    if (width > picture.width() || height > picture.height())
        return std::nullopt;
    const auto near = [slack](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= slack && std::abs(qGreen(a) - qGreen(b)) <= slack
            && std::abs(qBlue(a) - qBlue(b)) <= slack;
    };
    const auto same = [](QRgb a, QRgb b) { return ((a ^ b) & 0xFFFFFF) == 0; };

    // A key to look for: the stretch of a row where the pixels change most.
    // A band of the window may differ from the shot (a menu title lit, the
    // caret): each third of it gives a key in turn.
    constexpr int kKey = 24;
    if (window.width() < kKey)
        return std::nullopt;
    const auto matches = [&](int left, int top) {
        constexpr int kStep = 3;
        int tried = 0;
        int matched = 0;
        for (int y = 0; y < window.height(); y += kStep) {
            const auto* mine = reinterpret_cast<const QRgb*>(window.constScanLine(y));
            const auto* theirs
                = reinterpret_cast<const QRgb*>(picture.constScanLine(top + y * factor)) + left;
            for (int x = 0; x < window.width(); x += kStep) {
                ++tried;
                matched += near(mine[x], theirs[x * factor]);
            }
        }
        return matched * 10 >= tried * 9;
    };
    for (int band = 0; band < 3; ++band) {
        int keyX = 0;
        int keyY = 0;
        int mostChanges = -1;
        for (int y = window.height() * band / 3; y < window.height() * (band + 1) / 3; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(window.constScanLine(y));
            int changes = 0;
            for (int x = 1; x < kKey; ++x)
                changes += !same(row[x], row[x - 1]);
            for (int x = 0;; ++x) {
                if (changes > mostChanges) {
                    mostChanges = changes;
                    keyX = x;
                    keyY = y;
                }
                if (x + kKey >= window.width())
                    break;
                changes += int(!same(row[x + kKey], row[x + kKey - 1]))
                    - int(!same(row[x + 1], row[x]));
            }
        }
        // A plain band could be anywhere its colour is.
        if (mostChanges < kKey / 4)
            continue;
        const auto* key = reinterpret_cast<const QRgb*>(window.constScanLine(keyY)) + keyX;
        for (int top = 0; top + height <= picture.height(); ++top) {
            const auto* row
                = reinterpret_cast<const QRgb*>(picture.constScanLine(top + keyY * factor))
                + keyX * factor;
            for (int left = 0; left + width <= picture.width(); ++left) {
                const QRgb* at = row + left;
                int x = 0;
                while (x < kKey && near(at[x * factor], key[x]))
                    ++x;
                if (x == kKey && matches(left, top)) {
                    return QRectF(layout.topLeft() + QPointF(left, top) / ratio,
                        QSizeF(window.size()) / window.devicePixelRatio());
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace platform::portal
