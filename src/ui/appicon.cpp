#include "appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace tolvimar {

namespace {

QPolygonF hexagon(const QPointF &centre, double radius)
{
    QPolygonF polygon;
    for (int i = 0; i < 6; ++i) {
        const double angle = qDegreesToRadians(60.0 * i - 30.0); // pointed top
        polygon << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
    }
    return polygon;
}

} // namespace

QImage appIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 256.0;

    QPainterPath background;
    background.addRoundedRect(QRectF(8 * s, 8 * s, 240 * s, 240 * s), 44 * s, 44 * s);
    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0, QColor(0x24, 0x3b, 0x5a));
    sky.setColorAt(1, QColor(0x14, 0x22, 0x36));
    painter.fillPath(background, sky);

    // The centre region and its six neighbours, as on the small map.
    const double r = 42 * s;
    const double w = r * qSqrt(3.0);
    const QPointF centre(128 * s, 130 * s);
    const QPointF offsets[7] = {{0, 0}, {w, 0}, {-w, 0}, {w / 2, -1.5 * r}, {-w / 2, -1.5 * r},
        {w / 2, 1.5 * r}, {-w / 2, 1.5 * r}};
    const QColor colours[7] = {QColor(0x8c, 0xc8, 0x5a), QColor(0x2f, 0x7d, 0xc4),
        QColor(0x2f, 0x6e, 0x34), QColor(0x9a, 0x8c, 0x7e), QColor(0xe6, 0xf0, 0xf8),
        QColor(0xe3, 0xc4, 0x79), QColor(0x2f, 0x7d, 0xc4)};
    painter.setPen(QPen(QColor(0x10, 0x18, 0x24), 4 * s));
    for (int i = 0; i < 7; ++i) {
        painter.setBrush(colours[i]);
        painter.drawPolygon(hexagon(centre + offsets[i], r - 2 * s));
    }
    // A banner on the centre region marks the own faction.
    painter.setPen(QPen(QColor(0x3a, 0x2a, 0x1a), 5 * s, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-6 * s, 26 * s), centre + QPointF(-6 * s, -30 * s));
    QPolygonF flag;
    flag << centre + QPointF(-4 * s, -30 * s) << centre + QPointF(26 * s, -21 * s)
         << centre + QPointF(-4 * s, -11 * s);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0x2a, 0x2a));
    painter.drawPolygon(flag);
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

} // namespace tolvimar
