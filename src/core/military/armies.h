#pragma once

#include "../base/activegame.h"
#include "../db/militaryqueries.h"
#include "recordlist.h"

#include <QString>
#include <QStringList>

namespace tolvimar {

class Database;

struct ArmyReport
{
    qint64 soldiers = 0; // "Soldaten:"
    qint64 weapons = 0; // "Waffen:": spears and swords
    qint64 rangedWeapons = 0; // "Fernwaffen:": bows
    GridRows rows; // headings first
    QVector<UnitKey> units; // the unit of each row after the headings
};

// "Armee Info": the player's units of the newest turn that belong to an army, with
// strength, combat skills per person and weapons.
class Armies
{
public:
    explicit Armies(Database &db);

    static const QStringList &armyChoices(); // "Alle", "1. Armee" ... "4. Armee"
    static const QStringList &headings();
    // The group text a unit must contain: "Armee" for "Alle", else the choice.
    static QString armyText(const QString &choice);
    // The 12 fields of a unit's record; empty table values stay empty.
    static QStringList unitFields(const MilitaryUnitRow &unit, int base);

    // "Bericht" for the chosen army, by position.
    ArmyReport report(const ActiveGame &game, const QString &choice);
    // Why a report of the choice lists no unit, and how a unit joins an army.
    static QString noUnitsNote(const QString &choice, qint64 newestTurn);

private:
    MilitaryQueries m_queries;
};

} // namespace tolvimar
