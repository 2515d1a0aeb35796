#include "overlayicons.h"

#include <QPainter>
#include <QPainterPath>

namespace tolvimar {

namespace {

constexpr int kIconSize = 35;

QImage emptyIcon()
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage shipsIcon()
{
    QImage image = emptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(0x2b, 0x1d, 0x12);

    // Water
    p.setPen(QPen(QColor(0x3a, 0x7b, 0xc8), 2, Qt::SolidLine, Qt::RoundCap));
    QPainterPath waves;
    for (qreal y : {29.5, 33.0}) {
        waves.moveTo(3, y);
        for (int i = 0; i < 4; ++i)
            waves.quadTo(3 + i * 7.5 + 3.75, y - 2, 3 + (i + 1) * 7.5, y);
    }
    p.drawPath(waves);

    // Mast, sails and pennant
    p.setPen(QPen(outline, 1.6));
    p.drawLine(QPointF(17.5, 4), QPointF(17.5, 25));
    p.setPen(QPen(outline, 1));
    p.setBrush(QColor(0xf4, 0xec, 0xd6));
    p.drawPolygon(QPolygonF({{18.5, 6}, {30, 21}, {18.5, 21}}));
    p.drawPolygon(QPolygonF({{16.5, 9}, {16.5, 21}, {7, 21}}));
    p.setBrush(QColor(0xd8, 0x2a, 0x20));
    p.drawPolygon(QPolygonF({{17.5, 3}, {24, 5}, {17.5, 7}}));

    // Hull
    p.setBrush(QColor(0x8a, 0x55, 0x2b));
    p.drawPolygon(QPolygonF({{3, 22}, {32, 22}, {27, 29}, {8, 29}}));
    p.setPen(QPen(QColor(0xc8, 0x93, 0x5a), 1));
    p.drawLine(QPointF(6, 24.5), QPointF(29, 24.5));
    return image;
}

QImage unitsIcon()
{
    QImage image = emptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(0x24, 0x1c, 0x16);
    p.setPen(QPen(outline, 1));

    // Spear behind the figure
    p.setPen(QPen(QColor(0x7a, 0x52, 0x2c), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 33), QPointF(27, 6));
    p.setPen(QPen(outline, 1));
    p.setBrush(QColor(0xc9, 0xcf, 0xd6));
    p.drawPolygon(QPolygonF({{27, 1.5}, {29.5, 7.5}, {24.5, 7.5}}));

    // Legs, body, head and helmet
    p.setBrush(QColor(0x4a, 0x3a, 0x2e));
    p.drawRect(QRectF(13, 25, 3.5, 8));
    p.drawRect(QRectF(18.5, 25, 3.5, 8));
    p.setBrush(QColor(0x2f, 0x62, 0xb5));
    p.drawPolygon(QPolygonF({{12, 14}, {23, 14}, {25, 27}, {10, 27}}));
    p.setBrush(QColor(0xf1, 0xc2, 0x94));
    p.drawEllipse(QPointF(17.5, 9.5), 4.5, 4.5);
    p.setBrush(QColor(0xa9, 0xb1, 0xba));
    p.drawChord(QRectF(12.5, 4.5, 10, 9), 0, 180 * 16);

    // Round shield in front
    p.setBrush(QColor(0xd8, 0x2a, 0x20));
    p.drawEllipse(QPointF(10.5, 21.5), 7, 7);
    p.setBrush(QColor(0xf2, 0xc9, 0x3b));
    p.drawEllipse(QPointF(10.5, 21.5), 2.2, 2.2);
    return image;
}

} // namespace tolvimar
