#pragma once

#include "../base/activegame.h"
#include "../db/militaryqueries.h"
#include "recordlist.h"

#include <QString>
#include <QStringList>

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

struct GroupingReport
{
    int count = 0;
    GridRows rows; // headings first
    QVector<UnitKey> units; // the unit of each row after the headings
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
