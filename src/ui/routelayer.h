#pragma once

#include "map/hexgeometry.h"
#include "maplayer.h"

#include <QVector>
#include <functional>
#include <optional>

namespace tolvimar {

struct PlannedRoute;

// The way of "Weg planen" on a map: a line through the regions of the way, a mark on
// each region where a turn ends and the number of turns at the target.
class RouteLayer : public MapLayer
{
    Q_OBJECT
public:
    // The cell of a region on the map, in picture pixels; nullopt when the map does not
    // show it.
    using CellOf = std::function<std::optional<QRect>(RegionCoord)>;

    RouteLayer(CellOf cellOf, QObject *parent = nullptr);

    // The way to draw; nullopt or a way not found draws nothing. The cells are looked
    // up now: call again when the map moves.
    void setRoute(const std::optional<PlannedRoute> &route);

    // What is drawn, in picture pixels: the centres of the way's cells and, for each
    // turn's end, its place and the turn's number.
    struct TurnEnd
    {
        QPoint centre;
        int turn = 0;
    };
    const QVector<QPoint> &path() const { return m_path; }
    const QVector<TurnEnd> &turnEnds() const { return m_turnEnds; }

    void paint(QPainter &painter, const QRect &exposed, int zoom) const override;

private:
    CellOf m_cellOf;
    QVector<QPoint> m_path;
    QVector<TurnEnd> m_turnEnds;
};

} // namespace tolvimar
