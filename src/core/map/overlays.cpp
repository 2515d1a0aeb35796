#include "overlays.h"

#include "base/position.h"

#include <QPainter>
#include <QSet>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace tolvimar {

namespace {

QImage transparentLayer(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The outline rectangle that covers the pixels of the box from (a, b) to (c, d) without
// its right and bottom edge: QPainter's 1-pixel pen covers one pixel more than the size.
QRect box(int a, int b, int c, int d)
{
    const int left = std::min(a, c);
    const int top = std::min(b, d);
    return {left, top, std::abs(c - a) - 1, std::abs(d - b) - 1};
}

// Marks of cells far outside the picture are not drawn at all, which also keeps
// QPainter's fixed-point coordinates in range.
bool nearPicture(const QPoint &corner, const QSize &size)
{
    return corner.x() > -kWorldCellPitch && corner.x() < size.width()
        && corner.y() > -kWorldCellPitch && corner.y() < size.height();
}

void setColours(QPainter &painter, QRgb pen, std::optional<QRgb> brush)
{
    // One pixel wide at every scale: on a zoomed map the outlines stay thin lines.
    QPen line(QColor::fromRgba(pen));
    line.setCosmetic(true);
    painter.setPen(line);
    if (brush)
        painter.setBrush(QColor::fromRgba(*brush));
    else
        painter.setBrush(Qt::NoBrush);
}

// The level filter of ships and units: a position of another level than the one shown
// is not drawn. Unreadable positions are counted.
std::optional<Position> positionOnLevel(const QString &text, int level, int *badPositions)
{
    const std::optional<Position> position = parsePosition(text);
    if (!position) {
        ++*badPositions;
        return std::nullopt;
    }
    if (position->level != level)
        return std::nullopt;
    return position;
}

} // namespace

OverlayLayer shipsLayer(
    const QList<ShipMark> &ships, const OverlayFrame &frame, int ownFaction, int newestTurn)
{
    OverlayLayer layer {transparentLayer(frame.size * frame.scale), 0};
    if (layer.image.isNull())
        return layer;
    QPainter painter(&layer.image);
    painter.scale(frame.scale, frame.scale);
    for (const ShipMark &ship : ships) {
        if (ship.infoDatum != newestTurn)
            continue;
        const std::optional<Position> position
            = positionOnLevel(ship.position, frame.level, &layer.badPositions);
        if (!position)
            continue;
        const QPoint c = worldCellCorner(frame.world(), position->x, position->y);
        if (!nearPicture(c, frame.size))
            continue;
        const int l = c.x();
        const int t = c.y();
        if (ship.faction == ownFaction) {
            setColours(painter, OverlayColour::Red, OverlayColour::Red);
            painter.drawEllipse(box(l + 2, t + 2, l + 5, t + 5));
        } else {
            setColours(painter, OverlayColour::Yellow, OverlayColour::Yellow);
            painter.drawEllipse(box(l + 4, t + 4, l + 7, t + 7));
        }
    }
    return layer;
}

OverlayLayer unitsLayer(const QList<UnitSquare> &units, const OverlayFrame &frame)
{
    OverlayLayer layer {transparentLayer(frame.size * frame.scale), 0};
    if (layer.image.isNull())
        return layer;
    QPainter painter(&layer.image);
    painter.scale(frame.scale, frame.scale);
    // Positions that already carry a magenta square: nothing more to draw there.
    QSet<QString> seen;
    for (const UnitSquare &unit : units) {
        if (seen.contains(unit.position))
            continue;
        const std::optional<Position> position
            = positionOnLevel(unit.position, frame.level, &layer.badPositions);
        if (!position)
            continue;
        const QPoint c = worldCellCorner(frame.world(), position->x, position->y);
        if (!nearPicture(c, frame.size))
            continue;
        const bool marked = unit.flags.contains(u'x') || unit.flags.contains(u'X');
        const QRgb colour = marked ? OverlayColour::Green : OverlayColour::Magenta;
        if (frame.fitted) {
            setColours(painter, colour, colour);
            painter.drawRect(box(c.x() + 2, c.y() + 2, c.x() + 6, c.y() + 6));
        } else {
            setColours(painter, colour, std::nullopt);
            painter.drawRect(box(c.x(), c.y(), c.x() + 8, c.y() + 8));
        }
        if (!marked)
            seen.insert(unit.position);
    }
    return layer;
}

OverlayLayer regionMessagesLayer(
    const QList<RegionNews> &regions, const OverlayFrame &frame, int newestTurn)
{
    OverlayLayer layer {transparentLayer(frame.size * frame.scale), 0};
    if (layer.image.isNull())
        return layer;
    QPainter painter(&layer.image);
    painter.scale(frame.scale, frame.scale);
    for (const RegionNews &region : regions) {
        if (region.surroundings.isEmpty())
            continue;
        const bool battle = mentionsTurn(region.surroundings, newestTurn);
        if (region.infoDatum != newestTurn && !battle)
            continue;
        const QPoint c = worldCellCorner(frame.world(), region.x, region.y);
        if (!nearPicture(c, frame.size))
            continue;
        const int l = c.x();
        const int t = c.y();
        if (battle) {
            setColours(painter, OverlayColour::Yellow, OverlayColour::Red);
            painter.drawPolygon(QPolygon({QPoint(l + 1, t + 4), QPoint(l + 4, t + 7),
                QPoint(l + 7, t + 4), QPoint(l + 4, t + 1)}));
        } else if (region.terrain == u"Ozean"_s) {
            setColours(painter, OverlayColour::Red, OverlayColour::Yellow);
            painter.drawEllipse(box(l + 1, t + 8, l + 4, t + 5));
        } else {
            setColours(painter, OverlayColour::Yellow, OverlayColour::Yellow);
            painter.drawPolygon(
                QPolygon({QPoint(l + 1, t + 1), QPoint(l + 7, t + 1), QPoint(l + 4, t + 7)}));
        }
    }
    return layer;
}

bool mentionsTurn(const QString &surroundings, int turn)
{
    const QString needle = u"in Runde "_s + QString::number(turn);
    for (qsizetype at = surroundings.indexOf(needle); at >= 0;
         at = surroundings.indexOf(needle, at + 1)) {
        const qsizetype after = at + needle.size();
        if (after >= surroundings.size() || !surroundings.at(after).isDigit())
            return true;
    }
    return false;
}

} // namespace tolvimar
