#include "platform/desktop/polling_sampler.h"

#include "platform/controls/qt_color.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace platform {

namespace {

// Qt places windows in device-independent pixels; the pick speaks device
// pixels, whatever Qt's scaling.
qreal DeviceRatio(const QWidget& window)
{
    const qreal ratio = window.devicePixelRatioF();
    return ratio > 0 ? ratio : 1.0;
}

} // namespace

void PollingSampler::Begin(QWidget* overlay, const QCursor& cursor)
{
    const int side = qMax(1, qRound(1.0 / DeviceRatio(*overlay)));
    overlay->setFixedSize(side, side);
    overlay->show();
    overlay->raise();
    Capture(overlay, cursor);
}

void PollingSampler::End(QWidget* overlay)
{
    Release(overlay);
    overlay->hide();
}

void PollingSampler::Follow(QWidget* overlay, QPoint at, std::uint32_t colour)
{
    // Painted before it moves: a window carries its old pixels along, and
    // the next pass would read the colour of the previous pixel back off it.
    QPalette pal = overlay->palette();
    pal.setColor(QPalette::Window, ToQColor(colour));
    overlay->setPalette(pal);
    overlay->repaint();
    const qreal ratio = DeviceRatio(*overlay);
    overlay->move(qRound(at.x() / ratio), qRound(at.y() / ratio));
}

// The overlay ends the pick itself, with the release it receives here.
PickState PollingSampler::NextPass()
{
    QApplication::processEvents();
    return PickState::Going;
}

void PollingSampler::Capture(QWidget* overlay, const QCursor& cursor)
{
    overlay->grabMouse(cursor);
}

void PollingSampler::Release(QWidget* overlay)
{
    overlay->releaseMouse();
}

} // namespace platform
