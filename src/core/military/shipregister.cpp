#include "shipregister.h"

#include "fieldtexts.h"
#include "selectiontexts.h"

namespace tolvimar {

ShipRegister::ShipRegister(Database &db)
    : m_queries(db)
{
}

const QStringList &ShipRegister::typeChoices()
{
    static const QStringList choices = {QStringLiteral("Alle"), QStringLiteral("Boot"),
        QStringLiteral("Langboot"), QStringLiteral("Drachenschiff"), QStringLiteral("Karavelle"),
        QStringLiteral("Trireme")};
    return choices;
}

const QStringList &ShipRegister::headings()
{
    static const QStringList headings = {QStringLiteral("   X/Y"), QStringLiteral("Name"),
        QStringLiteral("Nr."), QStringLiteral("Schiffstyp"), QStringLiteral("Eigner Partei"),
        QStringLiteral("Zustand")};
    return headings;
}

QStringList ShipRegister::shipFields(const ShipRow &ship)
{
    return {ship.position, ship.name, QString::number(ship.number), ship.type,
        countText(ship.faction), countText(ship.percent) + u'%'};
}

ShipSelection ShipRegister::shipSelection(const ShipRegisterSelection &s)
{
    ShipSelection selection;
    selection.faction = factionCondition(s.faction);
    if (s.type != QStringLiteral("Alle"))
        selection.type = s.type;
    selection.date = dateCondition(s.dateComparison, s.date);
    return selection;
}

QVector<FactionRow> ShipRegister::factionChoices(int game)
{
    return tolvimar::factionChoices(m_queries, game);
}

ShipRegisterReport ShipRegister::report(
    const ActiveGame &game, const ShipRegisterSelection &selection)
{
    const QVector<ShipRow> ships = m_queries.selectedShips(game.number, shipSelection(selection));
    RecordList records;
    for (const ShipRow &ship : ships) {
        const QStringList fields = shipFields(ship);
        records.append(fields, int(fields.size()));
    }
    ShipRegisterReport report;
    report.count = int(ships.size());
    const std::vector<int> order = records.sortedOrder();
    report.rows = records.gridRows(headings(), order);
    for (int r : order)
        report.positions.append(ships[r].position);
    return report;
}

} // namespace tolvimar
