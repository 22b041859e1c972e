#include "resources/icon.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace resources {

QPixmap IconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s * 0.18, s * 0.18);
    p.fillPath(tile, QColor(0x20, 0x22, 0x2a));

    // Additive mixing makes the overlaps the secondary colours and the
    // centre white, which is what the tool is about.
    p.setClipPath(tile);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.setPen(Qt::NoPen);
    const qreal r = s * 0.26;
    const QPointF centre(s / 2, s * 0.53);
    const qreal spread = s * 0.16;
    const QColor lights[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        const qreal angle = (-90.0 + 120.0 * i) * M_PI / 180.0;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * spread;
        p.setBrush(lights[i]);
        p.drawEllipse(at, r, r);
    }
    p.end();
    return QPixmap::fromImage(image);
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(IconImage(size));
    return icon;
}

} // namespace resources
