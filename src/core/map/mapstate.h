#pragma once

#include "../base/position.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <optional>

namespace tolvimar {

// The three overlays of the world map.
enum class OverlayKind { Ships, Units, RegionMessages };

// Where the maps of the active game stand: the selected map level, the world map's
// origin (smallest x and y of that level), picture and size, the small map, the
// overlays and the selection: the region and the unit selected last. Core holds it;
// the views follow its signals.
//
// The selection is written only through selectRegion and selectUnit: a click on a map,
// a search hit, a double click on a list row all call them, and every view (the maps'
// markers and position, the region pages, the unit list, the caption, the status bar)
// follows regionSelected and unitSelected. No view calls another.
class MapState : public QObject
{
    Q_OBJECT
public:
    // An overlay's layer: shown or hidden, and whether its control reads "ausblenden".
    // The units layer can be shown while still off (no own unit of the newest turn).
    struct Overlay
    {
        bool visible = false;
        bool on = false;
        QImage image;
    };

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

    // How a selection moves the maps: a pick leaves them where they stand (the region
    // was chosen where it is seen); a jump brings the region into view (its level
    // shown, the small map drawn around it, the world map scrolled to it).
    enum class Move { Pick, Jump };

    // Selects a region: it becomes the selected region and regionSelected tells every
    // view. Selecting the region already selected shows it anew (its pages read
    // again). The selected unit is cleared.
    void selectRegion(const tolvimar::Position &place, Move move = Move::Pick);
    // Selects a unit by its number in its region: the region jumped to as by
    // selectRegion, then unitSelected.
    void selectUnit(const tolvimar::Position &place, int number);

    // The region selected last; none since the game opened.
    std::optional<Position> selectedRegion() const { return m_selected; }
    // The unit selected last by selectUnit; none after a region alone was selected.
    std::optional<int> selectedUnit() const { return m_selectedUnit; }

    // The region shown last, on the level it was read on; its units are listed.
    // Kept when a selected region has no row; none since the game opened.
    std::optional<Position> shownRegion() const { return m_shownRegion; }
    void setShownRegion(const std::optional<Position> &place) { m_shownRegion = place; }

    // The caption that names the region shown last (the region's name and x/y, "Keine
    // Informationen über Region", or the region entered by hand); empty until then.
    const QString &regionCaption() const { return m_regionCaption; }
    void setRegionCaption(const QString &caption);

    // The level the region view admits: none (all levels) from game start until the
    // first rendering or level switch, then the selected level.
    std::optional<int> regionFilterLevel() const { return m_filterLevel; }
    void setRegionFilterLevel(std::optional<int> level) { m_filterLevel = level; }

    // The world map picture as drawn or loaded, unzoomed; setting it sets the size.
    const QImage &worldMap() const { return m_worldMap; }
    void setWorldMap(const QImage &image);

    // The small map picture around the current position.
    const QImage &smallMap() const { return m_smallMap; }
    void setSmallMap(const QImage &image);

    // Overlay marks drawn inside their cells (the window), so that the marks of a
    // crowded map leave the terrain between them visible; off, the unit squares take
    // the whole cell (the exported pictures).
    bool fittedMarks() const { return m_fittedMarks; }
    void setFittedMarks(bool fitted) { m_fittedMarks = fitted; }

    const Overlay &overlay(OverlayKind kind) const { return m_overlays[int(kind)]; }
    void setOverlay(OverlayKind kind, const Overlay &overlay);

    // A game opens on level 0 with the stored origin, around its home region, with
    // the region view on all levels and the overlays off.
    void reset(const QPointF &origin, const QPoint &home);

signals:
    void levelChanged(int level);
    void originChanged(const QPointF &origin);
    void worldMapSizeChanged(const QSize &size);
    void currentPositionChanged(const QPoint &position);
    // A region was selected (selectRegion, selectUnit).
    void regionSelected(const tolvimar::Position &place, tolvimar::MapState::Move move);
    // A unit of the selected region was selected (selectUnit, after regionSelected).
    void unitSelected(int number);
    void regionCaptionChanged(const QString &caption);
    void worldMapChanged();
    void smallMapChanged();
    void overlayChanged(tolvimar::OverlayKind kind);

private:
    int m_level = 0;
    QPointF m_origin;
    QSize m_worldMapSize;
    QPoint m_current;
    std::optional<Position> m_selected;
    std::optional<int> m_selectedUnit;
    std::optional<Position> m_shownRegion;
    QString m_regionCaption;
    std::optional<int> m_filterLevel;
    bool m_fittedMarks = false;
    QImage m_worldMap;
    QImage m_smallMap;
    Overlay m_overlays[3];
};

} // namespace tolvimar
