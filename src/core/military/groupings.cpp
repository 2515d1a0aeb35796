#include "groupings.h"

#include "../base/errors.h"
#include "../base/identifiertext.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../report/identifiers.h"
#include "fieldtexts.h"
#include "selectiontexts.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tolvimar {

namespace {
constexpr int kShownFields = 12;
const QString kNoGroup = QStringLiteral("Keine");
const QString kAllGroups = QStringLiteral("Alle");
const QString kTaxCollector = QStringLiteral("Steuereintreiber");

// A unit number typed by the user; one past 31 bits would wrap onto another unit.
int unitNumberOf(const QString &text, int base)
{
    int number = 0;
    if (!parseIdentifierText(text, base, &number))
        throw UserError(QStringLiteral("\"%1\" ist keine Einheitennummer.").arg(text.left(100)));
    return number;
}
} // namespace

Groupings::Groupings(Database &db)
    : m_db(db)
    , m_queries(db)
{
}

const QStringList &Groupings::groupChoices()
{
    static const QStringList choices = {kAllGroups, QStringLiteral("Armee"),
        QStringLiteral("Arbeiter"), QStringLiteral("Händler"), QStringLiteral("Botschafter"),
        QStringLiteral("Unterhalter"), QStringLiteral("Transporter")};
    return choices;
}

const QStringList &Groupings::groupMenuEntries()
{
    static const QStringList entries
        = {kNoGroup, QStringLiteral("1. Armee"), QStringLiteral("2. Armee"),
            QStringLiteral("3. Armee"), QStringLiteral("4. Armee"), QStringLiteral("Händler"),
            QStringLiteral("Unterhalter"), QStringLiteral("Transporter"), kTaxCollector};
    return entries;
}

const QStringList &Groupings::headings()
{
    static const QStringList headings
        = {QStringLiteral("Gruppe"), QStringLiteral(" X/Y"), QStringLiteral("Einheit"),
            QStringLiteral("  Nr."), QStringLiteral("Stärke"), QStringLiteral("Stangen"),
            QStringLiteral("Hieb."), QStringLiteral("Schuss."), QStringLiteral("Ausdauer"),
            QStringLiteral("Speer"), QStringLiteral("Schwert"), QStringLiteral("Bogen")};
    return headings;
}

QStringList Groupings::unitFields(const MilitaryUnitRow &u, int base)
{
    const QString zero = QStringLiteral("0");
    const QString noTalent = QStringLiteral("0 [0]");
    return {
        u.group.isEmpty() ? kNoGroup : u.group,
        u.position,
        u.name,
        idToStr(u.number, base),
        countText(u.persons, zero),
        talentText(u, base, QStringLiteral("Stangenwaffen"), u.polearms, zero),
        talentText(u, base, QStringLiteral("Hiebwaffen"), u.blades, zero),
        talentText(u, base, QStringLiteral("Bogenschiessen"), u.archery, zero),
        talentText(u, base, QStringLiteral("Ausdauer"), u.stamina, zero),
        countText(u.spears, zero),
        countText(u.swords, zero),
        countText(u.bows, zero),
        countText(u.horses, zero),
        countText(u.carts, zero),
        talentText(u, base, QStringLiteral("Reiten"), u.riding, noTalent),
        talentText(u, base, QStringLiteral("Unterhaltung"), u.entertainment, noTalent),
        countText(u.silver, zero),
        QStringLiteral("Ende"),
    };
}

UnitSelection Groupings::unitSelection(const GroupingSelection &s, int base)
{
    UnitSelection selection;
    if (s.group != kAllGroups)
        selection.group = s.group;
    selection.faction = factionCondition(s.faction);
    const QString number = s.unitNumber.trimmed();
    if (!number.isEmpty())
        selection.unitNumber = unitNumberOf(number, base);
    // A name in double quotes is matched exactly, any other text as a part of the name.
    const QString name = s.unitName.trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        selection.unitName = name.mid(1, name.size() - 2);
    else if (!name.isEmpty())
        selection.unitNamePart = name;
    selection.date = dateCondition(s.dateComparison, s.date);
    return selection;
}

QVector<FactionRow> Groupings::factionChoices(int game)
{
    return tolvimar::factionChoices(m_queries, game);
}

GroupingReport Groupings::report(const ActiveGame &game, const GroupingSelection &selection)
{
    const QVector<MilitaryUnitRow> units
        = m_queries.selectedUnits(game.number, unitSelection(selection, game.base));
    RecordList records;
    for (const MilitaryUnitRow &u : units)
        records.append(unitFields(u, game.base), kShownFields);
    return {int(units.size()), records.gridRows(headings())};
}

bool Groupings::groupchange(const ActiveGame &game, const QString &caption, const QString &position,
    const QString &numberText, WorkspaceLock *lock)
{
    if (!groupMenuEntries().contains(caption))
        throw UserError(QStringLiteral("\"%1\" ist keine Gruppe.").arg(caption));
    if (caption == kTaxCollector)
        return false;
    const int number = unitNumberOf(numberText.trimmed(), game.base);
    const WorkspaceWriteScope write(lock);
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral(R"(UPDATE "einheiten" SET "Gruppe" = ?
        WHERE "Spiel" = ? AND "Einheit Position" = ? AND "Einheit Nr" = ?)"));
    q.addBindValue(caption);
    q.addBindValue(game.number);
    q.addBindValue(position);
    q.addBindValue(number);
    if (!q.exec()) {
        throw UserError(QStringLiteral("Die Gruppe kann nicht gespeichert werden: ")
            + m_db.errorText(q.lastError()));
    }
    return q.numRowsAffected() > 0;
}

} // namespace tolvimar
