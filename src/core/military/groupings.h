#pragma once

#include "../base/activegame.h"
#include "../db/militaryqueries.h"
#include "recordlist.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace tolvimar {

class Database;
class WorkspaceLock;

// The selection controls of the page "Gruppierungen" as they read.
struct GroupingSelection
{
    QString group = QStringLiteral("Alle"); // "Gruppe"
    int faction = -2; // the shown `Partei Nr`; -2 for all
    QString unitNumber; // "Einheit Nr", identifier text
    QString unitName; // "Einheit Name": a part of the name, or "the name" exactly
    QString dateComparison = QStringLiteral("=");
    QString date; // "Info Datum"
};

// The units of a report in its order: the units as read, shared by every copy, and
// their order, so that no unit is moved or copied after the read.
class GroupingUnits
{
public:
    GroupingUnits() = default;
    GroupingUnits(std::shared_ptr<const std::deque<GroupingUnitRow>> read, std::vector<int> order)
        : m_read(std::move(read))
        , m_order(std::move(order))
    {
    }
    qsizetype size() const { return qsizetype(m_order.size()); }
    bool isEmpty() const { return m_order.empty(); }
    const GroupingUnitRow &operator[](qsizetype i) const
    {
        return (*m_read)[size_t(m_order[size_t(i)])];
    }

private:
    std::shared_ptr<const std::deque<GroupingUnitRow>> m_read;
    std::vector<int> m_order;
};

// The units of a report in its order; the texts of their cells are made when asked for.
struct GroupingReport
{
    int count = 0;
    int base = 36; // of the unit numbers
    GroupingUnits units;

    // The text of a shown cell (column below 12) of a unit.
    QString cellText(int unit, int column) const;
    // The headings, then the cells of each unit; without units one empty row.
    GridRows gridRows() const;
};

// Units by group, faction, number, name and date, and the group a unit belongs to.
// Every read and write stays inside the active game.
class Groupings
{
public:
    explicit Groupings(Database &db);

    static const QStringList &groupChoices(); // "Alle", "Armee", ...
    static const QStringList &groupMenuEntries(); // "Keine", "1. Armee", ...
    static const QStringList &headings();
    // The 17 fields of a unit's record, the first 12 shown in the grid.
    static QStringList unitFields(const MilitaryUnitRow &unit, int base);
    static QStringList unitFields(const GroupingUnitRow &unit, int base);
    // The text of one field of a unit's record; its talents must hold numbers.
    static QString fieldText(const GroupingUnitRow &unit, int field, int base);
    // The number a count column shows, for a unit whose count is a whole number or empty.
    static std::optional<qint64> shownCount(const GroupingUnitRow &unit, int column);
    // The selection's conditions; throws UserError for a date that is no number.
    static UnitSelection unitSelection(const GroupingSelection &selection, int base);

    // The faction choice of the page: "Alle" (-2) and the game's factions by name.
    QVector<FactionRow> factionChoices(int game);

    // "Bericht": the matching units by group, then position.
    GroupingReport report(const ActiveGame &game, const GroupingSelection &selection);

    // A group menu entry on the unit of a grid row (its " X/Y" and "  Nr." texts):
    // stores the caption in `Gruppe`. "Steuereintreiber" does nothing. Returns whether
    // a unit was changed; throws UserError for a caption that is no menu entry, a
    // number that is none, or a lock that another program holds. The write holds the
    // workspace lock when one is given.
    bool groupchange(const ActiveGame &game, const QString &caption, const QString &position,
        const QString &numberText, WorkspaceLock *lock = nullptr);
    // The same for a unit known by its key.
    bool groupchange(const ActiveGame &game, const QString &caption, const UnitKey &unit,
        WorkspaceLock *lock = nullptr);

private:
    Database &m_db;
    MilitaryQueries m_queries;
};

} // namespace tolvimar
