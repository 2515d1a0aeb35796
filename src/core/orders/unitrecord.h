#pragma once

#include "../base/activegame.h"
#include "unitview.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace tolvimar {

class Database;
class Table;

// The boxes of the unit view that are bound to a row and store what the user types.
// FactionName is the unit's faction's `Partei Name` in the factions table.
enum class UnitBox { Description, Persons, Silver, Status, Hitpoints, FactionName };

// The row behind the unit view: selecting a line of the unit list positions it on
// the unit, or binds the description box to the castle or ship; the bound boxes
// write back into that row, one update per change.
class UnitRecord
{
public:
    explicit UnitRecord(Database &db);
    ~UnitRecord();
    UnitRecord(const UnitRecord &) = delete;
    UnitRecord &operator=(const UnitRecord &) = delete;

    struct Selection
    {
        ListEntryKind kind = ListEntryKind::Unit;
        // The description box: the unit's, or a castle's or ship's ("Keine
        // Beschreibung" when it has none).
        QString description;
        // Set for a unit; a castle or ship leaves the other boxes as they were.
        std::optional<UnitViewTexts> unit;
    };

    // An entry of the unit list selected: its unit looked up under the position text of
    // the region shown, or its castle or ship. nullopt when no row matches; the record
    // then stays where it was.
    std::optional<Selection> select(
        const ListEntry &entry, const ActiveGame &game, const QString &position);
    // As above for a line as the list shows it; nullopt when it names no number.
    std::optional<Selection> select(
        const QString &line, const ActiveGame &game, const QString &position);
    // The unit under (game, position, number), as select() does for a unit line.
    std::optional<UnitViewTexts> selectUnit(
        const ActiveGame &game, const QString &position, int number);

    // The unit shown last; a castle or ship selection keeps it.
    const std::optional<UnitViewTexts> &unit() const { return m_unit; }
    // That unit read again (its marks may have changed); the description box stays
    // bound where it is. nullopt when there is no unit or its row is gone.
    std::optional<UnitViewTexts> refreshUnit(const ActiveGame &game);

    // Stores an edited box into the row it shows. A number box that is not a number
    // throws UserError and stores nothing. Without a row nothing happens.
    void store(UnitBox box, const QString &text);

private:
    enum class Bound { None, Unit, Castle, Ship };

    bool findUnit(const ActiveGame &game, const QString &position, int number);
    QString factionName(int game, const QVariant &faction);
    std::optional<QString> describe(Table &table, int game, int number, QStringView field);

    Database &m_db;
    std::unique_ptr<Table> m_units, m_factions, m_castles, m_ships;
    std::optional<UnitViewTexts> m_unit;
    int m_game = 0;
    QVariant m_faction; // `Partei Nr` of the unit shown
    // The row the description box is bound to.
    Bound m_bound = Bound::None;
    int m_boundNumber = 0;
};

} // namespace tolvimar
