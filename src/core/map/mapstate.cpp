#include "mapstate.h"

namespace tolvimar {

MapState::MapState(QObject *parent)
    : QObject(parent)
{
}

void MapState::setLevel(int level)
{
    if (m_level == level)
        return;
    m_level = level;
    emit levelChanged(level);
}

void MapState::setOrigin(const QPointF &origin)
{
    if (m_origin == origin)
        return;
    m_origin = origin;
    emit originChanged(origin);
}

void MapState::setWorldMapSize(const QSize &size)
{
    if (m_worldMapSize == size)
        return;
    m_worldMapSize = size;
    emit worldMapSizeChanged(size);
}

void MapState::setCurrentPosition(const QPoint &position)
{
    if (m_current == position)
        return;
    m_current = position;
    emit currentPositionChanged(position);
}

void MapState::selectRegion(const Position &place, Move move)
{
    m_selected = place;
    m_selectedUnit.reset();
    emit regionSelected(place, move);
}

void MapState::selectUnit(const Position &place, int number)
{
    selectRegion(place, Move::Jump);
    m_selectedUnit = number;
    emit unitSelected(number);
}

void MapState::setWorldMap(const QImage &image)
{
    m_worldMap = image;
    setWorldMapSize(image.size());
    emit worldMapChanged();
}

void MapState::setSmallMap(const QImage &image)
{
    m_smallMap = image;
    emit smallMapChanged();
}

void MapState::setOverlay(OverlayKind kind, const Overlay &overlay)
{
    m_overlays[int(kind)] = overlay;
    emit overlayChanged(kind);
}

void MapState::setRegionCaption(const QString &caption)
{
    if (caption == m_regionCaption)
        return;
    m_regionCaption = caption;
    emit regionCaptionChanged(caption);
}

void MapState::reset(const QPointF &origin, const QPoint &home)
{
    setLevel(0);
    setOrigin(origin);
    setCurrentPosition(home);
    m_selected.reset();
    m_selectedUnit.reset();
    m_shownRegion.reset();
    m_filterLevel.reset();
    for (int kind = 0; kind < 3; ++kind)
        setOverlay(OverlayKind(kind), Overlay());
}

} // namespace tolvimar
