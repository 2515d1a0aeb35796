#include "armies.h"

#include "../base/identifiers.h"
#include "fieldtexts.h"

namespace tolvimar {

Armies::Armies(Database &db)
    : m_queries(db)
{
}

const QStringList &Armies::armyChoices()
{
    static const QStringList choices = {QStringLiteral("Alle"), QStringLiteral("1. Armee"),
        QStringLiteral("2. Armee"), QStringLiteral("3. Armee"), QStringLiteral("4. Armee")};
    return choices;
}

const QStringList &Armies::headings()
{
    static const QStringList headings
        = {QStringLiteral("   X/Y"), QStringLiteral("Name"), QStringLiteral("Nr."),
            QStringLiteral("Stärke"), QStringLiteral("Stangen"), QStringLiteral("Hiebw."),
            QStringLiteral("Schußw."), QStringLiteral("Ausdauer"), QStringLiteral("Speer"),
            QStringLiteral("Schwert"), QStringLiteral("Bögen"), QStringLiteral("Pferde")};
    return headings;
}

QString Armies::noUnitsNote(const QString &choice, qint64 newestTurn)
{
    const QString army = choice == QStringLiteral("Alle") ? QStringLiteral("einer Armee")
                                                          : QStringLiteral("„%1“").arg(choice);
    return QStringLiteral("Keine eigene Einheit der neuesten Runde (Info Datum %1) gehört zu %2. "
                          "Eine Einheit kommt auf der Seite „Gruppierungen“ in eine Armee: "
                          "Rechtsclick auf ihr Feld Gruppe.")
        .arg(newestTurn)
        .arg(army);
}

QString Armies::armyText(const QString &choice)
{
    return choice == QStringLiteral("Alle") ? QStringLiteral("Armee") : choice;
}

QStringList Armies::unitFields(const MilitaryUnitRow &u, int base)
{
    return {
        u.position,
        u.name,
        idToStr(u.number, base),
        countText(u.persons),
        talentText(u, base, QStringLiteral("Stangenwaffen"), u.polearms),
        talentText(u, base, QStringLiteral("Hiebwaffen"), u.blades),
        talentText(u, base, QStringLiteral("Bogenschiessen"), u.archery),
        talentText(u, base, QStringLiteral("Ausdauer"), u.stamina),
        countText(u.spears),
        countText(u.swords),
        countText(u.bows),
        countText(u.horses),
    };
}

ArmyReport Armies::report(const ActiveGame &game, const QString &choice)
{
    ArmyReport report;
    RecordList records;
    const QVector<MilitaryUnitRow> units
        = m_queries.armyUnits(game.number, game.factionNumber, game.newestTurn, armyText(choice));
    for (const MilitaryUnitRow &u : units) {
        QStringList fields = unitFields(u, game.base);
        report.soldiers += u.persons.toLongLong();
        report.weapons += u.spears.toLongLong() + u.swords.toLongLong();
        report.rangedWeapons += u.bows.toLongLong();
        records.append(fields, int(fields.size()));
    }
    const std::vector<int> order = records.sortedOrder();
    report.rows = records.gridRows(headings(), order);
    report.units.reserve(units.size());
    for (int r : order)
        report.units.append(unitKey(units[r].position, units[r].number));
    return report;
}

} // namespace tolvimar
