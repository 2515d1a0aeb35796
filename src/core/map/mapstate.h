#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <optional>

namespace tolvimar {

// Where the maps of the active game stand: the selected map level, the world map's
// origin (smallest x and y of that level) and size, the centre of the small map and
// the region selected last. Core holds it; the map views follow its signals.
class MapState : public QObject
{
    Q_OBJECT
public:
    explicit MapState(QObject *parent = nullptr);

    int level() const { return m_level; }
    void setLevel(int level);

    // Whole numbers kept as floating-point values, as the configuration stores them.
    QPointF origin() const { return m_origin; }
    void setOrigin(const QPointF &origin);

    // The world map picture's size in pixels (its height is the reference of every
    // pixel-to-region conversion); empty while no map is shown.
    QSize worldMapSize() const { return m_worldMapSize; }
    void setWorldMapSize(const QSize &size);

    // The centre region of the small map.
    QPoint currentPosition() const { return m_current; }
    void setCurrentPosition(const QPoint &position);

    // The region selected last on either map.
    std::optional<QPoint> selectedRegion() const { return m_selected; }
    void setSelectedRegion(const QPoint &region);

    // The position text of the region shown last ("x/y" or "x/y/level"); the units
    // of the region are stored under it. Kept when a selected region has no row.
    const QString &regionPosition() const { return m_regionPosition; }
    void setRegionPosition(const QString &position) { m_regionPosition = position; }

    // A game opens on level 0 with the stored origin, around its home region.
    void reset(const QPointF &origin, const QPoint &home);

signals:
    void levelChanged(int level);
    void originChanged(const QPointF &origin);
    void worldMapSizeChanged(const QSize &size);
    void currentPositionChanged(const QPoint &position);
    void selectedRegionChanged(const QPoint &region);

private:
    int m_level = 0;
    QPointF m_origin;
    QSize m_worldMapSize;
    QPoint m_current;
    std::optional<QPoint> m_selected;
    QString m_regionPosition;
};

} // namespace tolvimar
