#include "routefinder.h"

#include "../db/gamequeries.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <queue>

namespace tolvimar {

namespace {

// A road counts once it is complete.
constexpr int kCompleteRoad = 100;
// Regions of a known map beyond which a dense index grid is not worth its memory.
constexpr qint64 kLargestGrid = qint64(1) << 22;
// Unknown regions a search may walk through before it gives up: the box of the map
// is finite, but a sparse map can span billions of cells.
constexpr int kUnknownRegionLimit = 2'000'000;

qint64 keyOf(RegionCoord c)
{
    return (qint64(c.x) << 32) ^ qint64(quint32(c.y));
}

qint64 divideRoundingUp(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

} // namespace

RouteMap::RouteMap(int level, const QVector<RouteRegionRow> &rows, const MovementRules &rules)
    : m_level(level)
{
    m_coords.reserve(size_t(rows.size()));
    m_terrain.reserve(size_t(rows.size()));
    m_roads.reserve(size_t(rows.size()));
    QHash<QString, quint32> terrainIds;
    for (const RouteRegionRow &row : rows) {
        auto it = terrainIds.constFind(row.terrain);
        if (it == terrainIds.constEnd()) {
            it = terrainIds.insert(row.terrain, quint32(m_terrainNames.size()));
            m_terrainNames.append(row.terrain);
            m_terrainWater.push_back(rules.isWater(row.terrain));
            m_terrainImpassable.push_back(rules.isImpassable(row.terrain));
        }
        quint8 roads = 0;
        for (int field = 0; field < 6; ++field) {
            if (row.roads[field] >= kCompleteRoad)
                roads |= quint8(1u << int(directionOfRoadField(field)));
        }
        m_coords.push_back({row.x, row.y});
        m_terrain.push_back(*it);
        m_roads.push_back(roads);
    }
    if (m_coords.empty())
        return;
    m_minX = m_maxX = m_coords.front().x;
    m_minY = m_maxY = m_coords.front().y;
    for (const RegionCoord &c : m_coords) {
        m_minX = std::min(m_minX, c.x);
        m_maxX = std::max(m_maxX, c.x);
        m_minY = std::min(m_minY, c.y);
        m_maxY = std::max(m_maxY, c.y);
    }
    const qint64 width = qint64(m_maxX) - m_minX + 1;
    const qint64 height = qint64(m_maxY) - m_minY + 1;
    const qint64 gridLimit
        = std::min(kLargestGrid, std::max<qint64>(4 * qint64(m_coords.size()), 1 << 16));
    // Each side alone first: the product of two spans of 2^32 would overflow.
    if (width <= gridLimit && height <= gridLimit && width * height <= gridLimit) {
        const qint64 area = width * height;
        m_gridWidth = width;
        m_grid.assign(size_t(area), -1);
        for (size_t i = 0; i < m_coords.size(); ++i)
            m_grid[size_t(
                (qint64(m_coords[i].y) - m_minY) * width + (qint64(m_coords[i].x) - m_minX))]
                = int(i);
    } else {
        m_hash.reserve(m_coords.size());
        for (size_t i = 0; i < m_coords.size(); ++i)
            m_hash.emplace(keyOf(m_coords[i]), int(i));
    }
}

int RouteMap::indexOf(RegionCoord c) const
{
    if (m_coords.empty() || c.x < m_minX || c.x > m_maxX || c.y < m_minY || c.y > m_maxY)
        return -1;
    if (!m_grid.empty())
        return m_grid[size_t((qint64(c.y) - m_minY) * m_gridWidth + (qint64(c.x) - m_minX))];
    const auto it = m_hash.find(keyOf(c));
    return it == m_hash.end() ? -1 : it->second;
}

QStringList RouteResult::directions() const
{
    QStringList words;
    for (qsizetype i = 1; i < regions.size(); ++i) {
        if (const std::optional<HexDirection> d = stepDirection(regions[i - 1], regions[i]))
            words.append(directionWord(*d));
    }
    return words;
}

namespace {

// One search. Nodes are the known regions (their map index) followed by the unknown
// regions the search enters, numbered as they are met.
class RouteSearch
{
public:
    RouteSearch(const RouteMap &map, const MovementRules &rules, const Traveller &traveller,
        RegionCoord target, bool allowUnknown, RouteResult &result)
        : m_map(map)
        , m_traveller(traveller)
        , m_target(target)
        , m_allowUnknown(allowUnknown)
        , m_ship(traveller.mode == TravelMode::Ship)
        , m_unit(rules.costUnit())
        , m_road(rules.roadStepCost())
        , m_result(result)
    {
        // Unknown regions are searched within the known map and one ring around it,
        // start and target included, so that a search without a way ends.
        m_boxMinX = qint64(std::min({map.minX(), traveller.start.x, target.x})) - 1;
        m_boxMaxX = qint64(std::max({map.maxX(), traveller.start.x, target.x})) + 1;
        m_boxMinY = qint64(std::min({map.minY(), traveller.start.y, target.y})) - 1;
        m_boxMaxY = qint64(std::max({map.maxY(), traveller.start.y, target.y})) + 1;
        m_cheapestStep = m_ship ? m_unit : std::min(m_unit, m_road);
        m_dist.assign(size_t(map.size()), kUnreached);
        m_prev.assign(size_t(map.size()), -1);
    }

    void run()
    {
        const int start = nodeAt(m_traveller.start, true);
        const int target = nodeAt(m_target, m_allowUnknown);
        m_startNode = start;
        m_dist[size_t(start)] = 0;
        m_queue.push({estimate(m_traveller.start), start});
        while (!m_queue.empty()) {
            const auto [priority, node] = m_queue.top();
            m_queue.pop();
            const qint64 cost = m_dist[size_t(node)];
            if (priority - estimate(coordOf(node)) > cost)
                continue; // a stale entry
            if (node == target) {
                collect(target);
                return;
            }
            expand(node, cost);
        }
        m_result.reason = m_limitReached ? NoRouteReason::SearchLimit : NoRouteReason::Blocked;
        std::sort(m_result.blockingTerrains.begin(), m_result.blockingTerrains.end());
    }

private:
    static constexpr qint64 kUnreached = std::numeric_limits<qint64>::max();

    RegionCoord coordOf(int node) const
    {
        return node < m_map.size() ? m_map.coord(node) : m_unknown[size_t(node - m_map.size())];
    }

    qint64 estimate(RegionCoord c) const { return hexDistance(c, m_target) * m_cheapestStep; }

    bool inBox(RegionCoord c) const
    {
        return c.x >= m_boxMinX && c.x <= m_boxMaxX && c.y >= m_boxMinY && c.y <= m_boxMaxY;
    }

    // The node of a region; an unknown one is numbered when create is set; -1 otherwise.
    int nodeAt(RegionCoord c, bool create)
    {
        const int known = m_map.indexOf(c);
        if (known >= 0)
            return known;
        const auto it = m_unknownNodes.find(keyOf(c));
        if (it != m_unknownNodes.end())
            return it->second;
        if (!create)
            return -1;
        const int node = m_map.size() + int(m_unknown.size());
        m_unknown.push_back(c);
        m_unknownNodes.emplace(keyOf(c), node);
        m_dist.push_back(kUnreached);
        m_prev.push_back(-1);
        return node;
    }

    void addBlockingTerrain(const QString &terrain)
    {
        if (!m_result.blockingTerrains.contains(terrain))
            m_result.blockingTerrains.append(terrain);
    }

    void expand(int node, qint64 cost)
    {
        const bool known = node < m_map.size();
        const RegionCoord here = coordOf(node);
        const bool onLand = known && !m_map.isWater(node);
        // A ship that has landed goes no further.
        if (m_ship && onLand && node != m_startNode)
            return;
        for (HexDirection d : kHexDirections) {
            if (!hasNeighbour(here, d))
                continue;
            const RegionCoord there = neighbour(here, d);
            const int next = m_map.indexOf(there);
            qint64 step = m_unit;
            int nextNode = next;
            if (next >= 0) {
                if (m_ship) {
                    if (!m_map.isWater(next)) {
                        // Land only as the last step, and from the water.
                        if (onLand || !(there == m_target)) {
                            m_result.blockedByLand = true;
                            continue;
                        }
                        if (m_map.isImpassable(next)) {
                            addBlockingTerrain(m_map.terrain(next));
                            continue;
                        }
                    }
                } else {
                    if (m_map.isImpassable(next)) {
                        addBlockingTerrain(m_map.terrain(next));
                        continue;
                    }
                    if (known && m_map.hasRoad(node, d)
                        && m_map.hasRoad(next, oppositeDirection(d)))
                        step = m_road;
                }
            } else {
                if (!m_allowUnknown) {
                    m_result.blockedByUnknown = true;
                    continue;
                }
                if (!inBox(there))
                    continue;
                if (m_unknown.size() >= size_t(kUnknownRegionLimit)
                    && m_unknownNodes.find(keyOf(there)) == m_unknownNodes.end()) {
                    m_limitReached = true;
                    continue;
                }
                nextNode = nodeAt(there, true);
            }
            const qint64 reached = cost + step;
            if (reached < m_dist[size_t(nextNode)]) {
                m_dist[size_t(nextNode)] = reached;
                m_prev[size_t(nextNode)] = node;
                m_queue.push({reached + estimate(there), nextNode});
            }
        }
    }

    void collect(int target)
    {
        QVector<int> nodes;
        for (int node = target; node >= 0; node = m_prev[size_t(node)])
            nodes.append(node);
        std::reverse(nodes.begin(), nodes.end());
        const qint64 perTurn = qint64(m_traveller.speed) * m_unit;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            m_result.regions.append(coordOf(nodes[i]));
            if (i > 0)
                m_result.arrivalTurn.append(
                    int(divideRoundingUp(m_dist[size_t(nodes[i])], perTurn)));
        }
        m_result.cost = m_dist[size_t(target)];
        m_result.turns = int(divideRoundingUp(m_result.cost, perTurn));
    }

    const RouteMap &m_map;
    const Traveller &m_traveller;
    const RegionCoord m_target;
    const bool m_allowUnknown;
    const bool m_ship;
    const qint64 m_unit;
    const qint64 m_road;
    RouteResult &m_result;
    qint64 m_cheapestStep = 1;
    qint64 m_boxMinX = 0, m_boxMaxX = 0, m_boxMinY = 0, m_boxMaxY = 0;
    int m_startNode = -1;
    bool m_limitReached = false;
    std::vector<qint64> m_dist;
    std::vector<int> m_prev;
    std::vector<RegionCoord> m_unknown;
    std::unordered_map<qint64, int> m_unknownNodes;
    using Entry = std::pair<qint64, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> m_queue;
};

} // namespace

RouteResult findRoute(const RouteMap &map, const MovementRules &rules, const Traveller &traveller,
    RegionCoord target, int targetLevel, bool allowUnknown)
{
    RouteResult result;
    if (targetLevel != traveller.level || map.level() != traveller.level) {
        result.reason = NoRouteReason::OtherLevel;
        return result;
    }
    if (target == traveller.start) {
        result.reason = NoRouteReason::SameRegion;
        return result;
    }
    const int targetIndex = map.indexOf(target);
    if (targetIndex < 0 && !allowUnknown) {
        result.reason = NoRouteReason::UnknownTarget;
        return result;
    }
    if (targetIndex >= 0 && map.isImpassable(targetIndex)
        && !(traveller.mode == TravelMode::Ship && map.isWater(targetIndex))) {
        result.reason = NoRouteReason::ImpassableTarget;
        result.blockingTerrains = {map.terrain(targetIndex)};
        return result;
    }
    RouteSearch(map, rules, traveller, target, allowUnknown, result).run();
    return result;
}

} // namespace tolvimar
