#include "gamequeries.h"

#include "../base/errors.h"
#include "database.h"
#include "statementreading.h"

namespace tolvimar {

namespace {

const char kShipColumns[]
    = R"("Schiffs Nr", "Schiffs Name", "Schiffs Position", "Schiffstyp", "Partei", "Kapitaen",
         "Kueste", "Ladung", "MaxLadung", "Prozent", "Info Datum")";

ShipRow shipRow(const StatementReading &r)
{
    ShipRow s;
    s.number = r.integer(0);
    s.name = r.text(1);
    s.position = r.text(2);
    s.type = r.text(3);
    s.faction = r.value(4);
    s.captain = r.value(5);
    s.coast = r.text(6);
    s.load = r.value(7);
    s.maxLoad = r.value(8);
    s.percent = r.value(9);
    s.infoDatum = r.value(10);
    return s;
}

} // namespace

GameQueries::GameQueries(Database &db)
    : m_db(db)
{
}

GameQueries::~GameQueries() = default;

SqliteStatement &GameQueries::prepared(std::unique_ptr<SqliteStatement> &slot, const char *sql)
{
    if (!slot)
        slot = prepareRead(m_db, QString::fromUtf8(sql));
    return *slot;
}

QList<MapCell> GameQueries::regionsOfLevel(int game, int level)
{
    SqliteStatement &s = prepared(m_regionsOfLevel,
        R"(SELECT "Breite", "Länge", "Regiontyp" FROM "regionen"
           WHERE "Spiel" = ? AND "Ebene" = ? ORDER BY "Breite", "Länge")");
    s.bind(0, game);
    s.bind(1, level);
    StatementReading r(s);
    QList<MapCell> cells;
    while (r.next())
        cells.append({r.integer(0), r.integer(1), r.text(2)});
    return cells;
}

std::optional<MapExtent> GameQueries::levelExtent(int game, int level)
{
    SqliteStatement &s = prepared(m_levelExtent,
        R"(SELECT MIN("Breite"), MAX("Breite"), MIN("Länge"), MAX("Länge"), COUNT(*)
           FROM "regionen" WHERE "Spiel" = ? AND "Ebene" = ?)");
    s.bind(0, game);
    s.bind(1, level);
    StatementReading r(s);
    if (!r.next() || r.integer(4) == 0)
        return std::nullopt;
    return MapExtent {r.integer(0), r.integer(1), r.integer(2), r.integer(3)};
}

SqliteStatement &GameQueries::boundAt(
    AtPosition &reads, const char *columns, int game, int x, int y, std::optional<int> level)
{
    std::unique_ptr<SqliteStatement> &slot = level ? reads.atLevel : reads.anyLevel;
    if (!slot) {
        const QString sql = QStringLiteral(R"(SELECT %1 FROM "regionen"
               WHERE "Spiel" = ? AND "Breite" = ? AND "Länge" = ?)")
                                .arg(QString::fromUtf8(columns))
            + (level ? QStringLiteral(R"( AND "Ebene" = ?)")
                     : QStringLiteral(R"( ORDER BY "Ebene" LIMIT 1)"));
        slot = prepareRead(m_db, sql);
    }
    SqliteStatement &s = *slot;
    s.bind(0, game);
    s.bind(1, x);
    s.bind(2, y);
    if (level)
        s.bind(3, *level);
    return s;
}

std::optional<MapCell> GameQueries::regionAt(int game, int x, int y, std::optional<int> level)
{
    SqliteStatement &s
        = boundAt(m_regionAt, R"("Breite", "Länge", "Regiontyp")", game, x, y, level);
    StatementReading r(s);
    if (!r.next())
        return std::nullopt;
    return MapCell {r.integer(0), r.integer(1), r.text(2)};
}

QVector<RegionMessageRow> GameQueries::regionMessages(int game, int level)
{
    SqliteStatement &s = prepared(m_regionMessages,
        R"(SELECT "Breite", "Länge", "Regiontyp", "Umgebung", "Info Datum" FROM "regionen"
           WHERE "Spiel" = ? AND "Ebene" = ? AND "Umgebung" <> ''
           ORDER BY "Breite", "Länge")");
    s.bind(0, game);
    s.bind(1, level);
    StatementReading r(s);
    QVector<RegionMessageRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.integer(1), r.text(2), r.text(3), r.value(4)});
    return rows;
}

QVector<LevelRow> GameQueries::levels(int game)
{
    SqliteStatement &s = prepared(
        m_levels, R"(SELECT "Ebene", "Name" FROM "ebenen" WHERE "Spiel" = ? ORDER BY "Ebene")");
    s.bind(0, game);
    StatementReading r(s);
    QVector<LevelRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.text(1)});
    return rows;
}

// In castlesAt and shipsAt the plus before the number keeps the planner from walking
// the whole game in number order by the key; it takes the position index and sorts
// the few rows found.
QVector<CastleRow> GameQueries::castlesAt(
    int game, const QString &position, const QString &levelPosition)
{
    SqliteStatement &s = prepared(m_castlesAt,
        R"(SELECT "Burg Nr", "Burg Name", "Burg Position", "Typ", "Burggrösse", "Besitzer",
                  "Partei", "Info Datum"
           FROM "burgen" WHERE "Spiel" = ? AND "Burg Position" IN (?, ?)
           ORDER BY +"Burg Nr")");
    s.bind(0, game);
    s.bind(1, position);
    s.bind(2, levelPosition);
    StatementReading r(s);
    QVector<CastleRow> rows;
    while (r.next()) {
        CastleRow c;
        c.number = r.integer(0);
        c.name = r.text(1);
        c.position = r.text(2);
        c.type = r.text(3);
        c.size = r.value(4);
        c.owner = r.value(5);
        c.faction = r.value(6);
        c.infoDatum = r.value(7);
        rows.append(c);
    }
    return rows;
}

QVector<ShipRow> GameQueries::shipsAt(
    int game, const QString &position, const QString &levelPosition)
{
    static const QByteArray sql = QByteArray("SELECT ") + kShipColumns
        + R"( FROM "schiffe" WHERE "Spiel" = ? AND "Schiffs Position" IN (?, ?)
              ORDER BY +"Schiffs Nr")";
    SqliteStatement &s = prepared(m_shipsAt, sql.constData());
    s.bind(0, game);
    s.bind(1, position);
    s.bind(2, levelPosition);
    StatementReading r(s);
    QVector<ShipRow> rows;
    while (r.next())
        rows.append(shipRow(r));
    return rows;
}

QVector<UnitRow> GameQueries::unitsAt(int game, const QString &position)
{
    SqliteStatement &s = prepared(m_unitsAt,
        R"(SELECT "Einheit Nr", "Einheit Name", "Einheit Position", "Partei Nr", "Info Datum",
                  "Silber", "Personen", "Holz", "Stein", "Eisen", "Laen", "Mallorn", "Pferd",
                  "Wagen", "Speer", "Schwert", "Bogen", "Flags", "Stationiert", "Rasse"
           FROM "einheiten" WHERE "Spiel" = ? AND "Einheit Position" = ?
           ORDER BY "Einheit Nr")");
    s.bind(0, game);
    s.bind(1, position);
    StatementReading r(s);
    QVector<UnitRow> rows;
    while (r.next()) {
        UnitRow u;
        u.number = r.integer(0);
        u.name = r.text(1);
        u.position = r.text(2);
        u.faction = r.value(3);
        u.infoDatum = r.value(4);
        u.silver = r.value(5);
        u.persons = r.value(6);
        u.wood = r.value(7);
        u.stone = r.value(8);
        u.iron = r.value(9);
        u.laen = r.value(10);
        u.mallorn = r.value(11);
        u.horses = r.value(12);
        u.carts = r.value(13);
        u.spears = r.value(14);
        u.swords = r.value(15);
        u.bows = r.value(16);
        u.flags = r.text(17);
        u.stationed = r.text(18);
        u.race = r.text(19);
        rows.append(u);
    }
    return rows;
}

QVector<RouteRegionRow> GameQueries::routeRegions(int game, int level)
{
    SqliteStatement &s = prepared(m_routeRegions,
        R"(SELECT "Breite", "Länge", "Regiontyp", "Strasse", "Strasse1", "Strasse2", "Strasse3",
                  "Strasse4", "Strasse5"
           FROM "regionen" WHERE "Spiel" = ? AND "Ebene" = ? ORDER BY "Breite", "Länge")");
    s.bind(0, game);
    s.bind(1, level);
    StatementReading r(s);
    QVector<RouteRegionRow> rows;
    while (r.next()) {
        RouteRegionRow region;
        region.x = r.integer(0);
        region.y = r.integer(1);
        region.terrain = r.text(2);
        for (int i = 0; i < 6; ++i)
            region.roads[i] = r.integer(3 + i);
        rows.append(region);
    }
    return rows;
}

std::optional<TravellerRow> GameQueries::traveller(int game, int number)
{
    SqliteStatement &s = prepared(m_traveller,
        R"(SELECT "Einheit Nr", "Einheit Position", "Personen", "Pferd", "Reiten", "Info Datum"
           FROM "einheiten" WHERE "Spiel" = ? AND "Einheit Nr" = ?)");
    s.bind(0, game);
    s.bind(1, number);
    StatementReading r(s);
    if (!r.next())
        return std::nullopt;
    TravellerRow unit;
    unit.number = r.integer(0);
    unit.position = r.text(1);
    unit.persons = r.value(2);
    unit.horses = r.value(3);
    unit.riding = r.text(4);
    unit.infoDatum = r.value(5);
    return unit;
}

QVector<ShipRow> GameQueries::shipsOfCaptain(int game, int number)
{
    static const QByteArray sql = QByteArray("SELECT ") + kShipColumns
        + R"( FROM "schiffe" WHERE "Spiel" = ? AND "Kapitaen" = ?
              ORDER BY "Info Datum" DESC, "Schiffs Nr")";
    SqliteStatement &s = prepared(m_shipsOfCaptain, sql.constData());
    s.bind(0, game);
    s.bind(1, number);
    StatementReading r(s);
    QVector<ShipRow> rows;
    while (r.next())
        rows.append(shipRow(r));
    return rows;
}

QVector<HistoryRow> GameQueries::regionHistory(int game, int x, int y, int level)
{
    SqliteStatement &exists = prepared(m_historyExists,
        R"(SELECT 1 FROM "statistik"
           WHERE "Spiel" = ? AND "Breite" = ? AND "Länge" = ? AND "Ebene" = ? LIMIT 1)");
    exists.bind(0, game);
    exists.bind(1, x);
    exists.bind(2, y);
    exists.bind(3, level);
    {
        StatementReading found(exists);
        if (!found.next())
            return {};
    }
    SqliteStatement &s = prepared(m_history,
        R"(SELECT "Ebene", "Datum", "Anzahl Holz", "Eisen", "Laen", "Mallorn", "Bauern",
                  "Pferde", "Bauern Silber"
           FROM "statistik" WHERE "Spiel" = ? AND "Breite" = ? AND "Länge" = ? AND "Ebene" = ?
           ORDER BY "Datum")");
    s.bind(0, game);
    s.bind(1, x);
    s.bind(2, y);
    s.bind(3, level);
    StatementReading r(s);
    QVector<HistoryRow> rows;
    while (r.next()) {
        HistoryRow h;
        h.level = r.integer(0);
        h.date = r.value(1);
        h.wood = r.value(2);
        h.iron = r.value(3);
        h.laen = r.value(4);
        h.mallorn = r.value(5);
        h.peasants = r.value(6);
        h.horses = r.value(7);
        h.peasantSilver = r.value(8);
        rows.append(h);
    }
    return rows;
}

QVector<UnitMarkRow> GameQueries::unitsOfFaction(int game, int faction, qint64 date)
{
    SqliteStatement &s = prepared(m_unitsOfFaction,
        R"(SELECT "Einheit Nr", "Einheit Position", "Flags" FROM "einheiten"
           WHERE "Spiel" = ? AND "Partei Nr" = ? AND "Info Datum" = ? ORDER BY "Einheit Nr")");
    s.bind(0, game);
    s.bind(1, faction);
    s.bind(2, date);
    StatementReading r(s);
    QVector<UnitMarkRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.text(1), r.text(2)});
    return rows;
}

QVector<ShipRow> GameQueries::shipsOfTurn(int game, qint64 date)
{
    static const QByteArray sql = QByteArray("SELECT ") + kShipColumns
        + R"( FROM "schiffe" WHERE "Spiel" = ? AND "Info Datum" = ? ORDER BY "Schiffs Nr")";
    SqliteStatement &s = prepared(m_shipsOfTurn, sql.constData());
    s.bind(0, game);
    s.bind(1, date);
    StatementReading r(s);
    QVector<ShipRow> rows;
    while (r.next())
        rows.append(shipRow(r));
    return rows;
}

std::optional<RegionRow> GameQueries::regionRow(int game, int x, int y, int level)
{
    SqliteStatement &s = prepared(m_regionRow,
        R"(SELECT "Regionname", "Regiontyp", "Holzstämme", "Bauern", "VermögenBauern", "Pferde",
                  "Unterhaltung max", "Arbeitslohn", "Rekrutieren", "Luxusgüter", "Info Datum",
                  "Beschreibung", "Lean", "Eisen", "Mallorn", "Balsam", "Gewuerz", "Juwel",
                  "Myrrhe", "Oel", "Seide", "Weihrauch", "Strasse", "Strasse1", "Strasse2",
                  "Strasse3", "Strasse4", "Strasse5", "Umgebung"
           FROM "regionen"
           WHERE "Spiel" = ? AND "Breite" = ? AND "Länge" = ? AND "Ebene" = ?)");
    s.bind(0, game);
    s.bind(1, x);
    s.bind(2, y);
    s.bind(3, level);
    StatementReading r(s);
    if (!r.next())
        return std::nullopt;
    RegionRow row;
    row.x = x;
    row.y = y;
    row.level = level;
    row.name = r.text(0);
    row.terrain = r.text(1);
    row.trees = r.value(2);
    row.peasants = r.value(3);
    row.peasantSilver = r.value(4);
    row.horses = r.value(5);
    row.entertainment = r.value(6);
    row.wage = r.value(7);
    row.recruits = r.value(8);
    row.luxury = r.value(9);
    row.infoDatum = r.value(10);
    row.description = r.text(11);
    row.laen = r.value(12);
    row.iron = r.value(13);
    row.mallorn = r.value(14);
    for (int i = 0; i < 7; ++i)
        row.prices[i] = r.value(15 + i);
    for (int i = 0; i < 6; ++i)
        row.roads[i] = r.value(22 + i);
    row.surroundings = r.text(28);
    return row;
}

QString GameQueries::factionName(int game, int faction)
{
    SqliteStatement &s = prepared(m_factionName,
        R"(SELECT "Partei Name" FROM "parteien" WHERE "Spiel" = ? AND "Partei Nr" = ?)");
    s.bind(0, game);
    s.bind(1, faction);
    StatementReading r(s);
    return r.next() ? r.text(0) : QString();
}

std::optional<QString> GameQueries::regionNameAt(int game, int x, int y, std::optional<int> level)
{
    SqliteStatement &s = boundAt(m_regionNameAt, R"("Regionname")", game, x, y, level);
    StatementReading r(s);
    if (!r.next())
        return std::nullopt;
    return r.text(0);
}

QVector<MapDataRow> GameQueries::mapDataRows(int game, std::optional<int> level)
{
    // A missing level matches every row: the whole game in one statement.
    SqliteStatement &s = prepared(m_mapDataRows,
        R"(SELECT "Breite", "Länge", "Ebene", "Regiontyp", "Regionname" FROM "regionen"
           WHERE "Spiel" = ? AND (?2 IS NULL OR "Ebene" = ?2)
           ORDER BY "Breite", "Länge", "Ebene")");
    s.bind(0, game);
    s.bind(1, level ? QVariant(*level) : QVariant());
    StatementReading r(s);
    QVector<MapDataRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.integer(1), r.integer(2), r.text(3), r.text(4)});
    return rows;
}

QVector<MapDataRow> GameQueries::mapDataRowsWithin(
    int game, qint64 minX, qint64 maxX, qint64 minY, qint64 maxY, std::optional<int> level)
{
    SqliteStatement &s = prepared(m_mapDataRowsWithin,
        R"(SELECT "Breite", "Länge", "Ebene", "Regiontyp", "Regionname" FROM "regionen"
           WHERE "Spiel" = ? AND "Breite" BETWEEN ? AND ? AND "Länge" BETWEEN ? AND ?
             AND (?6 IS NULL OR "Ebene" = ?6)
           ORDER BY "Breite", "Länge", "Ebene")");
    s.bind(0, game);
    s.bind(1, minX);
    s.bind(2, maxX);
    s.bind(3, minY);
    s.bind(4, maxY);
    s.bind(5, level ? QVariant(*level) : QVariant());
    StatementReading r(s);
    QVector<MapDataRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.integer(1), r.integer(2), r.text(3), r.text(4)});
    return rows;
}

QVector<NumberPlace> GameQueries::numberPlaces(
    std::unique_ptr<SqliteStatement> &slot, const char *sql, int game)
{
    SqliteStatement &s = prepared(slot, sql);
    s.bind(0, game);
    StatementReading r(s);
    QVector<NumberPlace> rows;
    while (r.next())
        rows.append({r.value(0).toLongLong(), r.text(1), r.text(2)});
    return rows;
}

QVector<NumberPlace> GameQueries::unitPlaces(int game)
{
    return numberPlaces(m_unitPlaces,
        R"(SELECT "Einheit Nr", "Einheit Position", "Einheit Name" FROM "einheiten" WHERE "Spiel" = ?
           ORDER BY "Einheit Nr")",
        game);
}

QVector<NumberPlace> GameQueries::shipPlaces(int game)
{
    return numberPlaces(m_shipPlaces,
        R"(SELECT "Schiffs Nr", "Schiffs Position", "Schiffs Name" FROM "schiffe" WHERE "Spiel" = ?
           ORDER BY "Schiffs Nr")",
        game);
}

QVector<NumberPlace> GameQueries::castlePlaces(int game)
{
    return numberPlaces(m_castlePlaces,
        R"(SELECT "Burg Nr", "Burg Position", "Burg Name" FROM "burgen" WHERE "Spiel" = ?
           ORDER BY "Burg Nr")",
        game);
}

QVector<NumberPlace> GameQueries::factionNumbers(int game)
{
    return numberPlaces(m_factionNumbers,
        R"(SELECT "Partei Nr", '', "Partei Name" FROM "parteien" WHERE "Spiel" = ? ORDER BY "Partei Nr")",
        game);
}

} // namespace tolvimar
