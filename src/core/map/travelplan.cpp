#include "travelplan.h"

#include "../base/errors.h"
#include "../base/position.h"
#include "../db/gamequeries.h"

namespace tolvimar {

namespace {

// The level of a talent as stored: "points level", or the level alone.
int talentLevel(const QString &talent)
{
    const QString trimmed = talent.trimmed();
    const qsizetype blank = trimmed.lastIndexOf(u' ');
    int level = 0;
    if (!parseStrictInt(
            blank < 0 ? QStringView(trimmed) : QStringView(trimmed).mid(blank + 1), &level))
        return 0;
    return level;
}

bool samePlace(const QString &a, const QString &b)
{
    const std::optional<Position> pa = parsePosition(a);
    const std::optional<Position> pb = parsePosition(b);
    return pa && pb && *pa == *pb;
}

// A ship row is as new as the unit's when neither is older than the other.
bool notOlder(const QVariant &shipDate, const QVariant &unitDate)
{
    if (shipDate.isNull() || unitDate.isNull())
        return true;
    return shipDate.toLongLong() >= unitDate.toLongLong();
}

} // namespace

UnitTravel unitTravel(GameQueries &queries, const MovementRules &rules, int game, int unitNumber,
    const QString &unitText)
{
    const std::optional<TravellerRow> unit = queries.traveller(game, unitNumber);
    if (!unit)
        throw UserError(QStringLiteral("Das Spiel kennt keine Einheit %1.").arg(unitText));
    const std::optional<Position> place = parsePosition(unit->position);
    if (!place)
        throw UserError(QStringLiteral("Die Position \"%1\" der Einheit %2 ist nicht lesbar.")
                            .arg(unit->position.left(40), unitText));
    UnitTravel travel;
    travel.position = unit->position;
    travel.traveller.start = {place->x, place->y};
    travel.traveller.level = place->level;

    for (const ShipRow &ship : queries.shipsOfCaptain(game, unitNumber)) {
        if (!samePlace(ship.position, unit->position) || !notOlder(ship.infoDatum, unit->infoDatum))
            continue;
        const std::optional<int> speed = rules.shipSpeed(ship.type);
        if (!speed)
            throw UserError(
                QStringLiteral("Die Einheit %1 führt das Schiff %2 vom Typ \"%3\"; "
                               "diesen Schiffstyp kennen die Bewegungsregeln nicht "
                               "(bekannt: %4).")
                    .arg(unitText)
                    .arg(ship.number)
                    .arg(ship.type.left(40), rules.shipTypes().join(QStringLiteral(", "))));
        travel.traveller.mode = TravelMode::Ship;
        travel.traveller.speed = *speed;
        travel.shipNumber = ship.number;
        travel.shipType = ship.type;
        return travel;
    }

    const qint64 persons = unit->persons.toLongLong();
    const qint64 horses = unit->horses.toLongLong();
    if (horses >= persons && talentLevel(unit->riding) >= 1) {
        travel.traveller.mode = TravelMode::Riding;
        travel.traveller.speed = rules.ridingSpeed();
    } else {
        travel.traveller.mode = TravelMode::Walking;
        travel.traveller.speed = rules.walkingSpeed();
    }
    return travel;
}

RouteResult planRoute(GameQueries &queries, const MovementRules &rules, int game,
    const UnitTravel &travel, RegionCoord target, int targetLevel, bool allowUnknown)
{
    if (targetLevel != travel.traveller.level) {
        RouteResult result;
        result.reason = NoRouteReason::OtherLevel;
        return result;
    }
    const RouteMap map(travel.traveller.level, queries.routeRegions(game, targetLevel), rules);
    return findRoute(map, rules, travel.traveller, target, targetLevel, allowUnknown);
}

QString moveOrder(const RouteResult &route)
{
    return QStringLiteral("NACH ") + route.directions().join(u' ');
}

QString routePositions(const RouteResult &route, int level)
{
    QStringList texts;
    for (const RegionCoord &c : route.regions)
        texts.append(positionText(c.x, c.y, level));
    return texts.join(u' ');
}

QString noRouteText(
    const RouteResult &route, const UnitTravel &travel, RegionCoord target, int targetLevel)
{
    const Traveller &t = travel.traveller;
    const QString from = positionText(t.start.x, t.start.y, t.level);
    const QString to = positionText(target.x, target.y, targetLevel);
    const bool ship = t.mode == TravelMode::Ship;
    switch (route.reason) {
    case NoRouteReason::None:
        return QString();
    case NoRouteReason::SameRegion:
        return QStringLiteral("Kein Weg: die Einheit steht schon in %1.").arg(from);
    case NoRouteReason::OtherLevel:
        return QStringLiteral("Kein Weg: %1 liegt auf einer anderen Ebene als die Einheit (%2).")
            .arg(to, from);
    case NoRouteReason::UnknownTarget:
        return QStringLiteral("Kein Weg: die Region %1 ist unbekannt.").arg(to);
    case NoRouteReason::ImpassableTarget:
        return ship ? QStringLiteral("Kein Weg: %1 ist %2, dort kann das Schiff nicht landen.")
                          .arg(to, route.blockingTerrains.value(0))
                    : QStringLiteral("Kein Weg: %1 ist %2, dorthin kann die Einheit nicht gehen.")
                          .arg(to, route.blockingTerrains.value(0));
    case NoRouteReason::Blocked: {
        QStringList causes = route.blockingTerrains;
        if (route.blockedByLand)
            causes.append(QStringLiteral("Land"));
        if (route.blockedByUnknown)
            causes.append(QStringLiteral("unbekannte Regionen"));
        QString list = causes.value(0);
        for (qsizetype i = 1; i < causes.size(); ++i)
            list += (i + 1 == causes.size() ? QStringLiteral(" und ") : QStringLiteral(", "))
                + causes[i];
        if (causes.isEmpty())
            return QStringLiteral("Kein Weg von %1 nach %2.").arg(from, to);
        return QStringLiteral("Kein Weg von %1 nach %2: alle Wege sind versperrt durch %3.")
            .arg(from, to, list);
    }
    case NoRouteReason::SearchLimit:
        return QStringLiteral("Kein Weg gefunden von %1 nach %2: die Suche durch unbekannte "
                              "Regionen wurde abgebrochen, das Gebiet ist zu groß.")
            .arg(from, to);
    }
    return QString();
}

} // namespace tolvimar
