#pragma once

#include "../base/activegame.h"
#include "../db/militaryqueries.h"
#include "recordlist.h"

#include <QString>
#include <QStringList>

namespace tolvimar {

class Database;

// The controls of the page "Schiffsregister" as they read.
struct ShipRegisterSelection
{
    int faction = -2; // the shown `Partei Nr`; -2 for all
    QString type = QStringLiteral("Alle"); // "Schiffstyp"
    QString dateComparison = QStringLiteral("=");
    QString date; // "Info Datum"
};

struct ShipRegisterReport
{
    int count = 0; // "gefundene Schiffe"
    GridRows rows; // headings first
    // The rows as the window shows them: in a Kalmora game the ship's and the owner's
    // identifier texts stand beside their decimal numbers (the orders and the other
    // pages name ships and factions by them); otherwise the same as `rows`.
    GridRows shownRows;
    // The place of each row's ship after the headings; none where its stored position
    // text does not read.
    QList<std::optional<Position>> places;
};

// The ships of the game seen in a turn, by faction and type.
class ShipRegister
{
public:
    explicit ShipRegister(Database &db);

    static const QStringList &typeChoices(); // "Alle", "Boot", ...
    static const QStringList &headings();
    // The headings of the window's grid for a game of that type.
    static QStringList shownHeadings(GameType type);
    static QStringList shipFields(const ShipRow &ship);
    // The selection's conditions; throws UserError for a date that is no number.
    static ShipSelection shipSelection(const ShipRegisterSelection &selection);

    // The faction choice of the page: "Alle" (-2) and the game's factions by name.
    QVector<FactionRow> factionChoices(int game);

    // "Bericht": the ships of the selection by position.
    ShipRegisterReport report(const ActiveGame &game, const ShipRegisterSelection &selection);

private:
    MilitaryQueries m_queries;
};

} // namespace tolvimar
