#pragma once

#include "../map/movementrules.h"
#include "../map/routefinder.h"
#include "../map/travelplan.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace tolvimar {

class Session;

// A way planned for the unit on the map: the unit, where it was asked to go and what
// the route finder answered.
struct PlannedRoute
{
    int unitNumber = 0;
    QString unitText;
    UnitTravel travel;
    RegionCoord target;
    int level = 0;
    RouteResult route;

    bool found() const { return route.found(); }
    // The regions the unit passes after its start.
    int steps() const { return route.found() ? int(route.regions.size()) - 1 : 0; }
    // "Reisezeit: 2 Runden (3 Regionen)", or why there is no way.
    QString text() const;
};

// Plans the way of the selected unit to the region under the pointer, for the map's
// "Weg planen". The level's regions are read once and kept until the game, its
// regions (an import) or the level change, so that a way follows the pointer at the
// cost of the search alone. A way shown follows the pointer until a click keeps it.
class RoutePlanner : public QObject
{
    Q_OBJECT
public:
    explicit RoutePlanner(Session &session, QObject *parent = nullptr);
    ~RoutePlanner() override;

    // The unit whose way is planned; 0 for none. A different unit drops the ways shown.
    void setUnit(int number);
    int unit() const { return m_unitNumber; }

    // Regions the game has never seen may be crossed at the cost of one step.
    void setAllowUnknown(bool allow);
    bool allowUnknown() const { return m_allowUnknown; }

    // The way to a region of a level, shown until the pointer moves on; nullopt without
    // a unit. Throws UserError when the unit or the movement rules cannot be read.
    const std::optional<PlannedRoute> &planTo(RegionCoord target, int level);
    // The way shown now becomes the kept one.
    void keep();
    // The way that follows the pointer is dropped; the kept one stays.
    void dropPreview();
    // The way to draw: the one under the pointer, else the kept one.
    const std::optional<PlannedRoute> &shown() const;
    const std::optional<PlannedRoute> &kept() const { return m_kept; }
    const std::optional<PlannedRoute> &preview() const { return m_preview; }

    // "In die Befehle übernehmen": the kept way's NACH line replaces the unit's NACH or
    // ROUTE line in the order template (else it follows its orders), as one step of the
    // template's undo. Returns the order; throws UserError when there is no way kept or
    // the template has no block of the unit.
    QString writeMoveOrder();

    // Drops what was read of the game: its regions, its rules, the unit's travel.
    void forgetGame();

signals:
    // The way shown (or the kept one) changed.
    void routeChanged();

private:
    // Forgets the way shown and the way kept; the layer is told when there was one.
    void dropWays();
    const RouteMap &levelMap(int level);
    const MovementRules &rules();

    Session &m_session;
    int m_unitNumber = 0;
    bool m_allowUnknown = false;
    std::optional<MovementRules> m_rules;
    std::optional<UnitTravel> m_travel;
    std::unique_ptr<RouteMap> m_map;
    std::optional<PlannedRoute> m_preview;
    std::optional<PlannedRoute> m_kept;
};

} // namespace tolvimar
