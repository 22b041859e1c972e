#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace platform::portal {

// The portal hands over one image of the whole layout, at the largest
// output scale: outputs of lower scale come upscaled in it. Positions of the
// layout (logical pixels, fractional as the pointer reports them) map to it
// by the ratio of the image to the layout, floored last, so that at scale 2
// the odd pixels are as reachable as the even ones.
QPoint ShotPixel(QPointF layoutPoint, const QRectF& layout, QSize shot);

// The part of the image that shows `screen`, in image pixels.
QRectF ShotRect(const QRectF& screen, const QRectF& layout, QSize shot);

// The loupe's place on a screen of `screen` size for the pointer at
// `pointer` (both the screen's own logical pixels): below right of the
// pointer, flipped to the other side where the screen's edge is near.
QRect LoupeRect(QPointF pointer, QSize loupe, QSize screen);

} // namespace platform::portal
