#include "shipregister.h"

#include "../base/identifiers.h"
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

namespace {
// Where the identifier texts stand in the window's grid: after "Nr." and after
// "Eigner Partei" (whose column has moved one to the right by then).
constexpr int kNumberColumn = 2;
constexpr int kOwnerColumn = 5;

// The owner's identifier text; empty where the owner is not known.
QString ownerText(const QVariant &faction, int base)
{
    bool isNumber = false;
    const qint64 number = faction.toLongLong(&isNumber);
    return isNumber && !faction.toString().isEmpty() ? idToStr(number, base) : QString();
}
} // namespace

QStringList ShipRegister::shownHeadings(GameType type)
{
    QStringList shown = headings();
    if (type == GameType::Kalmora) {
        shown.insert(kNumberColumn + 1, QStringLiteral("Kennung"));
        shown.insert(kOwnerColumn + 1, QStringLiteral("Eigner Kennung"));
    }
    return shown;
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
        report.places.append(parsePosition(ships[r].position));
    if (!game.isKalmora()) {
        report.shownRows = report.rows;
        return report;
    }
    report.shownRows.reserve(report.rows.size());
    report.shownRows.append(shownHeadings(game.type));
    for (int r : order) {
        QStringList cells = report.rows[report.shownRows.size()];
        cells.insert(kNumberColumn + 1, idToStr(ships[r].number, game.base));
        cells.insert(kOwnerColumn + 1, ownerText(ships[r].faction, game.base));
        report.shownRows.append(cells);
    }
    if (ships.isEmpty())
        report.shownRows.append(QStringList(report.shownRows.first().size(), QString()));
    return report;
}

} // namespace tolvimar
