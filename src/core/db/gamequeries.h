#pragma once

#include "../base/mapcell.h"
#include "sqlitestatement.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

namespace tolvimar {

class Database;

struct LevelRow
{
    int level = 0;
    QString name;
};

// Region rows with a surroundings text (the region messages overlay).
struct RegionMessageRow
{
    int x = 0;
    int y = 0;
    QString terrain;
    QString surroundings; // `Umgebung`
    QVariant infoDatum;
};

struct CastleRow
{
    int number = 0;
    QString name;
    QString position;
    QString type; // `Typ`
    QVariant size; // `Burggrösse`
    QVariant owner; // `Besitzer`
    QVariant faction; // `Partei`
    QVariant infoDatum;
};

struct ShipRow
{
    int number = 0;
    QString name;
    QString position;
    QString type; // `Schiffstyp`
    QVariant faction; // `Partei`
    QVariant captain; // `Kapitaen`
    QString coast; // `Kueste`
    QVariant load; // `Ladung`
    QVariant maxLoad; // `MaxLadung`
    QVariant percent; // `Prozent`
    QVariant infoDatum;
};

// The fields of a unit that the region's unit list and its sums read.
struct UnitRow
{
    int number = 0;
    QString name;
    QString position;
    QVariant faction; // `Partei Nr`
    QVariant infoDatum;
    QVariant silver, persons;
    QVariant wood, stone, iron, laen, mallorn; // `Holz`, `Stein`, `Eisen`, `Laen`, `Mallorn`
    QVariant horses, carts, spears, swords, bows; // `Pferd`, `Wagen`, `Speer`, `Schwert`, `Bogen`
    QString flags;
    QString stationed; // `Stationiert`
    QString race; // `Rasse`
};

// A unit's position and marks (the units overlay).
struct UnitMarkRow
{
    int number = 0;
    QString position;
    QString flags;
};

// One turn of a region's history in the statistics table.
struct HistoryRow
{
    int level = 0;
    QVariant date, wood, iron, laen, mallorn, peasants, horses, peasantSilver;
};

// A region row as the region page shows it; empty fields stay null.
struct RegionRow
{
    int x = 0; // `Breite`
    int y = 0; // `Länge`
    int level = 0; // `Ebene`
    QString name; // `Regionname`
    QString terrain; // `Regiontyp`
    QVariant trees; // `Holzstämme`
    QVariant peasants; // `Bauern`
    QVariant peasantSilver; // `VermögenBauern`
    QVariant horses; // `Pferde`
    QVariant entertainment; // `Unterhaltung max`
    QVariant wage; // `Arbeitslohn`
    QVariant recruits; // `Rekrutieren`
    QVariant luxury; // `Luxusgüter`
    QVariant infoDatum;
    QString description; // `Beschreibung`
    QVariant laen, iron, mallorn; // `Lean`, `Eisen`, `Mallorn`
    // `Balsam`, `Gewuerz`, `Juwel`, `Myrrhe`, `Oel`, `Seide`, `Weihrauch`
    QVariant prices[7];
    // `Strasse`, `Strasse1` ... `Strasse5`
    QVariant roads[6];
    QString surroundings; // `Umgebung`
};

// A region as a map data file carries it.
struct MapDataRow
{
    int x = 0;
    int y = 0;
    int level = 0;
    QString terrain; // `Regiontyp`
    QString name; // `Regionname`
};

// A region as a way across its level needs it.
struct RouteRegionRow
{
    int x = 0; // `Breite`
    int y = 0; // `Länge`
    QString terrain; // `Regiontyp`
    // `Strasse`, `Strasse1` ... `Strasse5`; an empty field reads 0
    int roads[6] = {};
};

// What decides how a unit travels: where it is, whether it can ride.
struct TravellerRow
{
    int number = 0;
    QString position; // `Einheit Position`
    QVariant persons; // `Personen`
    QVariant horses; // `Pferd`
    QString riding; // `Reiten`, as the report gives the talent
    QVariant infoDatum;
};

// A number of a unit, ship, castle or faction and where it was seen last (empty for a
// faction).
struct NumberPlace
{
    qint64 number = 0;
    QString position;
    QString name;
};

// The narrow reads of the views, each a statement prepared once on first use and
// reused; values are bound. Rows come in the tables' key order unless a query says
// otherwise. The import writes through Table; these only read.
class GameQueries
{
public:
    explicit GameQueries(Database &db);
    ~GameQueries();
    GameQueries(const GameQueries &) = delete;
    GameQueries &operator=(const GameQueries &) = delete;

    // The regions of a level in key order (x, then y).
    QList<MapCell> regionsOfLevel(int game, int level);
    std::optional<MapExtent> levelExtent(int game, int level);
    // The first region at (x, y) in key order: on the given level, or on the lowest
    // level that has one when no level is given.
    std::optional<MapCell> regionAt(int game, int x, int y, std::optional<int> level);
    QVector<RegionMessageRow> regionMessages(int game, int level);

    QVector<LevelRow> levels(int game);

    // Castles and ships whose position text is one of the two forms.
    QVector<CastleRow> castlesAt(int game, const QString &position, const QString &levelPosition);
    QVector<ShipRow> shipsAt(int game, const QString &position, const QString &levelPosition);
    // Units stored under a position text, by unit number.
    QVector<UnitRow> unitsAt(int game, const QString &position);

    // The history of region (x, y) on the level: its turns in order; rows of other
    // levels at the same coordinates are other regions. Empty when the level has no row.
    QVector<HistoryRow> regionHistory(int game, int x, int y, int level);

    // A faction's units of one turn, by unit number.
    QVector<UnitMarkRow> unitsOfFaction(int game, int faction, qint64 date);
    // The ships of one turn, by ship number.
    QVector<ShipRow> shipsOfTurn(int game, qint64 date);

    // The region row with the key (game, x, y, level).
    std::optional<RegionRow> regionRow(int game, int x, int y, int level);
    // `Partei Name` of a faction; empty when the game has no such faction.
    QString factionName(int game, int faction);
    // `Regionname` of the region at (x, y), found as regionAt finds it; nullopt when
    // there is no row.
    std::optional<QString> regionNameAt(int game, int x, int y, std::optional<int> level);

    // The regions of a level with their terrain and roads, in key order.
    QVector<RouteRegionRow> routeRegions(int game, int level);
    // The unit with this number; nullopt when the game has none.
    std::optional<TravellerRow> traveller(int game, int number);
    // The ships whose captain (`Kapitaen`) is this unit, newest first, then by number.
    QVector<ShipRow> shipsOfCaptain(int game, int number);

    // The regions of the game in key order (x, y, level), of one level when given.
    QVector<MapDataRow> mapDataRows(int game, std::optional<int> level);
    // As mapDataRows, within minX..maxX and minY..maxY.
    QVector<MapDataRow> mapDataRowsWithin(
        int game, qint64 minX, qint64 maxX, qint64 minY, qint64 maxY, std::optional<int> level);

    // Every unit, ship, castle and faction number of the game with its position text,
    // by number (what order lines may name).
    QVector<NumberPlace> unitPlaces(int game);
    QVector<NumberPlace> shipPlaces(int game);
    QVector<NumberPlace> castlePlaces(int game);
    QVector<NumberPlace> factionNumbers(int game);

private:
    QVector<NumberPlace> numberPlaces(
        std::unique_ptr<SqliteStatement> &slot, const char *sql, int game);
    SqliteStatement &prepared(std::unique_ptr<SqliteStatement> &slot, const char *sql);
    // The read of a region at (x, y) on the given level or, without one, on the lowest
    // level that has it; prepared once each and bound.
    struct AtPosition
    {
        std::unique_ptr<SqliteStatement> atLevel, anyLevel;
    };
    SqliteStatement &boundAt(
        AtPosition &reads, const char *columns, int game, int x, int y, std::optional<int> level);

    Database &m_db;
    std::unique_ptr<SqliteStatement> m_regionsOfLevel, m_levelExtent, m_regionMessages, m_levels,
        m_castlesAt, m_shipsAt, m_unitsAt, m_historyExists, m_history, m_unitsOfFaction,
        m_shipsOfTurn, m_regionRow, m_factionName;
    AtPosition m_regionAt, m_regionNameAt;
    std::unique_ptr<SqliteStatement> m_mapDataRows, m_mapDataRowsWithin;
    std::unique_ptr<SqliteStatement> m_routeRegions, m_traveller, m_shipsOfCaptain;
    std::unique_ptr<SqliteStatement> m_unitPlaces, m_shipPlaces, m_castlePlaces, m_factionNumbers;
};

} // namespace tolvimar
