#pragma once

#include "routefinder.h"

#include <QString>

namespace tolvimar {

class GameQueries;

// How a unit of the game travels: the ship it commands (`Kapitaen` of a ship in its
// region) and that ship's type, else on horseback when it has a horse (`Pferd`) for
// each person and a Reiten level of at least 1, else on foot.
struct UnitTravel
{
    Traveller traveller;
    QString position; // the unit's `Einheit Position` as stored
    int shipNumber = 0; // the ship it commands; 0 when it walks or rides
    QString shipType;
};

// Throws UserError when the game has no such unit, its position text cannot be read,
// or its ship is of a type the rules do not know.
UnitTravel unitTravel(GameQueries &queries, const MovementRules &rules, int game, int unitNumber,
    const QString &unitText);

// The level's known regions and the way from the unit to the target.
RouteResult planRoute(GameQueries &queries, const MovementRules &rules, int game,
    const UnitTravel &travel, RegionCoord target, int targetLevel, bool allowUnknown);

// The order that moves along a way found: "NACH o o no".
QString moveOrder(const RouteResult &route);
// The regions of the way as position texts, blank-separated: "3/4 4/4 5/4".
QString routePositions(const RouteResult &route, int level);
// Why there is no way, one line.
QString noRouteText(
    const RouteResult &route, const UnitTravel &travel, RegionCoord target, int targetLevel);

} // namespace tolvimar
