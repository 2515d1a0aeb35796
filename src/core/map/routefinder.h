#pragma once

#include "hextopology.h"
#include "movementrules.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <unordered_map>
#include <vector>

namespace tolvimar {

struct RouteRegionRow;

// The known regions of one level as the route finder walks them: terrain classes of
// the rules and, per region, the directions in which it has a complete road.
class RouteMap
{
public:
    RouteMap(int level, const QVector<RouteRegionRow> &rows, const MovementRules &rules);

    int level() const { return m_level; }
    int size() const { return int(m_coords.size()); }
    // Index of the known region at c; -1 when the level has none there.
    int indexOf(RegionCoord c) const;
    RegionCoord coord(int index) const { return m_coords[size_t(index)]; }
    const QString &terrain(int index) const { return m_terrainNames[m_terrain[size_t(index)]]; }
    bool isWater(int index) const { return m_terrainWater[m_terrain[size_t(index)]]; }
    bool isImpassable(int index) const { return m_terrainImpassable[m_terrain[size_t(index)]]; }
    // A complete road (100 or more) leaves the region in this direction.
    bool hasRoad(int index, HexDirection d) const
    {
        return m_roads[size_t(index)] & (1u << int(d));
    }

    // The known regions' extent; empty map: all 0.
    int minX() const { return m_minX; }
    int maxX() const { return m_maxX; }
    int minY() const { return m_minY; }
    int maxY() const { return m_maxY; }

private:
    int m_level;
    std::vector<RegionCoord> m_coords;
    std::vector<quint32> m_terrain;
    std::vector<quint8> m_roads;
    QStringList m_terrainNames;
    std::vector<bool> m_terrainWater, m_terrainImpassable;
    int m_minX = 0, m_maxX = 0, m_minY = 0, m_maxY = 0;
    // A dense grid over the extent where it is not much larger than the map, else a hash.
    std::vector<int> m_grid;
    qint64 m_gridWidth = 0;
    std::unordered_map<qint64, int> m_hash;
};

enum class TravelMode { Walking, Riding, Ship };

// Who travels from where, and how far a turn takes it (points for a unit, steps for a
// ship).
struct Traveller
{
    TravelMode mode = TravelMode::Walking;
    RegionCoord start;
    int level = 0;
    int speed = 1;
};

enum class NoRouteReason {
    None,
    SameRegion, // the target is where the traveller stands
    OtherLevel, // the target lies on another level
    UnknownTarget, // the game has never seen the target
    ImpassableTarget, // the traveller cannot enter the target's terrain
    Blocked, // every way is shut by terrain, land or unknown regions
    SearchLimit // the search through unknown regions grew too large
};

struct RouteResult
{
    NoRouteReason reason = NoRouteReason::None;
    // The regions of the way, start and target included.
    QVector<RegionCoord> regions;
    // For each region after the start: the turn in which it is reached (1, 2, ...).
    QVector<int> arrivalTurn;
    qint64 cost = 0; // in 1/costUnit of a step
    int turns = 0;
    // What shut the ways (for Blocked): terrains met that the traveller cannot enter,
    // land in a ship's way, unknown regions.
    QStringList blockingTerrains;
    bool blockedByLand = false;
    bool blockedByUnknown = false;

    bool found() const { return reason == NoRouteReason::None; }
    // The directions of the steps: "o", "no", ...
    QStringList directions() const;
};

// A cheapest way over the level from the traveller's region to the target. A unit
// walks over regions whose terrain the rules let it enter, a step costing one, or the
// road cost when both regions have a complete road towards each other. A ship sails
// through water, may leave the land region it lies in and may land on a land region
// with its last step; every step costs one. Unknown regions are shut unless allowed,
// then they cost one step and a ship sails through them. Turns are the cost divided
// by the speed, rounded up.
RouteResult findRoute(const RouteMap &map, const MovementRules &rules, const Traveller &traveller,
    RegionCoord target, int targetLevel, bool allowUnknown);

} // namespace tolvimar
