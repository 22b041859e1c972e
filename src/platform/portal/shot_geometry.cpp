#include "platform/portal/shot_geometry.h"

#include "colour/rounding.h"

#include <QtGlobal>

#include <cmath>

namespace platform::portal {

namespace {

// Clear of the eyedropper, whose hot spot is its tip at the lower left.
constexpr int kLoupeGap = 24;

int ShotCoordinate(double at, double origin, double layoutExtent, int shotExtent)
{
    if (layoutExtent <= 0 || shotExtent <= 0)
        return 0;
    // Multiplied before dividing: at ratio 2, 100.75 must give 201.5, not
    // a product rounded first.
    const double scaled = std::floor((at - origin) * shotExtent / layoutExtent);
    return static_cast<int>(qBound(0.0, scaled, static_cast<double>(shotExtent - 1)));
}

} // namespace

QPoint ShotPixel(QPointF layoutPoint, const QRectF& layout, QSize shot)
{
    return {ShotCoordinate(layoutPoint.x(), layout.x(), layout.width(), shot.width()),
        ShotCoordinate(layoutPoint.y(), layout.y(), layout.height(), shot.height())};
}

QRectF ShotRect(const QRectF& screen, const QRectF& layout, QSize shot)
{
    if (layout.isEmpty())
        return {};
    const double sx = shot.width() / layout.width();
    const double sy = shot.height() / layout.height();
    return {(screen.x() - layout.x()) * sx, (screen.y() - layout.y()) * sy, screen.width() * sx,
        screen.height() * sy};
}

QRect LoupeRect(QPointF pointer, QSize loupe, QSize screen)
{
    const int px = colour::Floor(pointer.x());
    const int py = colour::Floor(pointer.y());
    int x = px + kLoupeGap;
    if (x + loupe.width() > screen.width())
        x = px - kLoupeGap - loupe.width();
    int y = py + kLoupeGap;
    if (y + loupe.height() > screen.height())
        y = py - kLoupeGap - loupe.height();
    // A screen smaller than the loupe keeps its top left corner in view.
    return {qMax(0, x), qMax(0, y), loupe.width(), loupe.height()};
}

} // namespace platform::portal
