#pragma once

#include "../base/activegame.h"
#include "../base/position.h"

#include <QString>
#include <QVector>
#include <optional>

namespace tolvimar {

class Database;

// A place the search box can jump to: a region, or a unit in its region.
struct PlaceHit
{
    enum class Kind { Region, Unit };
    Kind kind = Kind::Region;
    Position place; // the region, or the unit's region
    int unitNumber = 0; // for a unit
    QString text; // the entry of the result list
};

// Finds units (by identifier or a part of the name) and regions (by "x/y",
// "x/y/level" or a part of the name) of the active game. Names are compared without
// regard to case; units are taken at their newest known position.
class PlaceSearch
{
public:
    explicit PlaceSearch(Database &db);

    // Identifiers and coordinates first, then names; at most limit hits. A region
    // asked for by coordinates is a hit even when it is unknown (on shownLevel when
    // no level is given).
    QVector<PlaceHit> find(
        const ActiveGame &game, const QString &text, int shownLevel, int limit = 50);

    // The newest known position of a unit; nullopt when it has none that reads.
    std::optional<PlaceHit> unitPlace(const ActiveGame &game, int number);

private:
    Database &m_db;
};

} // namespace tolvimar
