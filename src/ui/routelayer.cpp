#include "routelayer.h"

#include "app/routeplanner.h"

#include <QPainter>
#include <QPainterPath>

namespace tolvimar {

RouteLayer::RouteLayer(CellOf cellOf, QObject *parent)
    : MapLayer(parent)
    , m_cellOf(std::move(cellOf))
{
}

void RouteLayer::setRoute(const std::optional<PlannedRoute> &route)
{
    m_path.clear();
    m_turnEnds.clear();
    if (route && route->found()) {
        const RouteResult &way = route->route;
        // A region off the map breaks the line; the parts on it are drawn.
        for (qsizetype i = 0; i < way.regions.size(); ++i) {
            const std::optional<QRect> cell = m_cellOf(way.regions[i]);
            const QPoint centre = cell ? cell->center() : QPoint(INT_MIN, INT_MIN);
            m_path.append(centre);
            if (i == 0 || !cell)
                continue;
            const int turn = way.arrivalTurn.value(i - 1);
            const bool last = i + 1 == way.regions.size();
            if (last || way.arrivalTurn.value(i) != turn)
                m_turnEnds.append({centre, turn});
        }
    }
    emit changed();
}

void RouteLayer::paint(QPainter &painter, const QRect &exposed, int zoom) const
{
    if (m_path.size() < 2)
        return;
    const auto onScreen
        = [zoom](const QPoint &p) { return QPointF(p) * zoom + QPointF(zoom / 2.0, zoom / 2.0); };
    // Only the steps that reach into the exposed part: a long way across the level
    // costs no more than the part in view.
    const QRectF area = QRectF(exposed).adjusted(-8, -8, 8, 8);
    QPainterPath line;
    for (qsizetype i = 1; i < m_path.size(); ++i) {
        const QPoint &a = m_path[i - 1];
        const QPoint &b = m_path[i];
        if (a.x() == INT_MIN || b.x() == INT_MIN)
            continue;
        const QPointF from = onScreen(a);
        const QPointF to = onScreen(b);
        if (!QRectF(from, to).normalized().adjusted(-1, -1, 1, 1).intersects(area))
            continue;
        if (line.isEmpty() || line.currentPosition() != from)
            line.moveTo(from);
        line.lineTo(to);
    }
    if (line.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Dark red on a white edge: seen on sea, grass and snow alike.
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
    painter.setPen(QPen(QColor(160, 0, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(10);
    painter.setFont(font);
    for (qsizetype i = 0; i < m_turnEnds.size(); ++i) {
        const QPointF centre = onScreen(m_turnEnds[i].centre);
        if (!area.contains(centre))
            continue;
        const bool target = i + 1 == m_turnEnds.size();
        const qreal radius = target ? 7 : 3.5;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(target ? QColor(255, 230, 80) : QColor(160, 0, 0));
        painter.drawEllipse(centre, radius, radius);
        if (target) {
            painter.drawText(
                QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                Qt::AlignCenter, QString::number(m_turnEnds[i].turn));
        }
    }
    painter.restore();
}

} // namespace tolvimar
