#pragma once

#include "gamequeries.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <array>
#include <deque>
#include <memory>
#include <optional>

namespace tolvimar {

class Database;

// How a row's `Info Datum` is compared with a date code.
enum class Comparison { Equal, Greater, Less };

struct DateCondition
{
    Comparison comparison = Comparison::Equal;
    qint64 date = 0;
};

// Which units the groupings list; a missing value does not restrict. The game is
// always a condition of its own.
struct UnitSelection
{
    std::optional<QString> group; // `Gruppe` equal
    std::optional<int> faction; // `Partei Nr`
    std::optional<int> unitNumber; // `Einheit Nr`
    std::optional<QString> unitName; // `Einheit Name` equal
    std::optional<QString> unitNamePart; // contained in `Einheit Name`, case ignored
    DateCondition date;
};

// Which ships the ship register lists; a missing value does not restrict.
struct ShipSelection
{
    std::optional<int> faction; // `Partei`
    std::optional<QString> type; // `Schiffstyp`
    DateCondition date;
};

// The fields of a unit that the groupings and the army report show. Empty fields
// read as empty texts or null variants.
struct MilitaryUnitRow
{
    int number = 0;
    QString position;
    QString name;
    QString group; // `Gruppe`
    QVariant persons;
    QString polearms, blades, archery, stamina; // `Stangenwaffen`, `Hiebwaffen`, ...
    QString riding, entertainment; // `Reiten`, `Unterhaltung`
    QVariant spears, swords, bows, horses, carts, silver;
};

// A unit as the groupings read it: its texts as stored, its counts as whole numbers.
struct GroupingUnitRow
{
    // The count fields, in the order of `counts`.
    enum Count { Persons, Spears, Swords, Bows, Horses, Carts, Silver, CountFields };
    // The talent fields, in the order of `talents`.
    enum Talent { Polearms, Blades, Archery, Stamina, Riding, Entertainment, TalentFields };

    int number = 0;
    QString position;
    QString name;
    QString group; // `Gruppe`
    // `Personen`, `Speer`, `Schwert`, `Bogen`, `Pferd`, `Wagen`, `Silber`; 0 where empty.
    std::array<qint64, CountFields> counts {};
    // Bit k set where count k holds a whole number.
    quint8 countIsNumber = 0;
    // `Stangenwaffen`, `Hiebwaffen`, `Bogenschiessen`, `Ausdauer`, `Reiten`, `Unterhaltung`.
    std::array<QString, TalentFields> talents;
    // The count fields as stored, only where one of them holds a text or a fraction.
    QVariantList oddCounts;
};
} // namespace tolvimar
// Its members move by their bytes: a report grows a list of a hundred thousand units.
Q_DECLARE_TYPEINFO(tolvimar::GroupingUnitRow, Q_RELOCATABLE_TYPE);
namespace tolvimar {

struct FactionRow
{
    int number = 0;
    QString name;
};

// The reads of the military pages: statements prepared once per shape and reused,
// every value bound, every read restricted to one game.
class MilitaryQueries
{
public:
    explicit MilitaryQueries(Database &db);
    ~MilitaryQueries();
    MilitaryQueries(const MilitaryQueries &) = delete;
    MilitaryQueries &operator=(const MilitaryQueries &) = delete;

    // The units of the selection, by unit number.
    QVector<MilitaryUnitRow> selectedUnits(int game, const UnitSelection &selection);
    // The same units for the groupings, in no particular order; a deque grows without
    // moving the units read so far.
    std::deque<GroupingUnitRow> groupingUnits(int game, const UnitSelection &selection);
    // A faction's units of one turn whose group is set and contains the army text.
    QVector<MilitaryUnitRow> armyUnits(int game, int faction, qint64 date, const QString &army);
    // The ships of the selection, by ship number.
    QVector<ShipRow> selectedShips(int game, const ShipSelection &selection);
    // The game's factions by name.
    QVector<FactionRow> factions(int game);

private:
    SqliteStatement &prepared(int shape, const QByteArray &sql);
    // The statement of a unit selection with its values bound.
    SqliteStatement &unitsStatement(int game, const UnitSelection &selection, bool byNumber);

    Database &m_db;
    // One statement for each combination of conditions that has been used.
    QHash<int, std::shared_ptr<SqliteStatement>> m_statements;
};

} // namespace tolvimar
