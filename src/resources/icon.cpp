#include "resources/icon.h"

#include <QPainter>
#include <QPainterPath>

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
    // Red straight up, the others 120 degrees on. Written out rather than
    // taken from sin and cos: the first call of those maps pages of libm
    // that nothing else at start needs, about 230 KiB of the memory held.
    constexpr qreal kHalfRoot3 = 0.86602540378443864676;
    const struct {
        QColor light;
        QPointF direction;
    } discs[] = {{QColor(255, 0, 0), {0, -1}}, {QColor(0, 255, 0), {kHalfRoot3, 0.5}},
        {QColor(0, 0, 255), {-kHalfRoot3, 0.5}}};
    for (const auto& disc : discs) {
        p.setBrush(disc.light);
        p.drawEllipse(centre + disc.direction * spread, r, r);
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
