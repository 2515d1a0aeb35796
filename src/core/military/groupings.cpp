#include "groupings.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../base/identifiertext.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "fieldtexts.h"
#include "selectiontexts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace tolvimar {

namespace {
constexpr int kShownFields = 12;
constexpr int kLeadingFields = 4; // group, position, name, number
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
    // A unit number occurs once in a game, and the number text differs from every
    // other at the first collation level. Unless a group or name holds the separator's
    // "*", the first difference of two whole record texts therefore lies within group,
    // position, name and number, and those four fields alone give the same order.
    const bool leadingFieldsDecide = std::none_of(units.cbegin(), units.cend(),
        [](const MilitaryUnitRow &u) { return u.group.contains(u'*') || u.name.contains(u'*'); });
    RecordList records;
    records.reserve(units.size());
    for (const MilitaryUnitRow &u : units) {
        if (leadingFieldsDecide)
            records.append(unitFields(u, game.base), kShownFields, kLeadingFields);
        else
            records.append(unitFields(u, game.base), kShownFields);
    }
    GroupingReport result;
    result.count = int(units.size());
    const std::vector<int> order = records.sortedOrder();
    result.rows = records.gridRows(headings(), order);
    result.units.reserve(units.size());
    for (int r : order)
        result.units.append({units[r].position, units[r].number});
    return result;
}

bool Groupings::groupchange(const ActiveGame &game, const QString &caption, const QString &position,
    const QString &numberText, WorkspaceLock *lock)
{
    if (!groupMenuEntries().contains(caption))
        throw UserError(QStringLiteral("\"%1\" ist keine Gruppe.").arg(caption));
    if (caption == kTaxCollector)
        return false;
    return groupchange(
        game, caption, UnitKey {position, unitNumberOf(numberText.trimmed(), game.base)}, lock);
}

bool Groupings::groupchange(
    const ActiveGame &game, const QString &caption, const UnitKey &unit, WorkspaceLock *lock)
{
    if (!groupMenuEntries().contains(caption))
        throw UserError(QStringLiteral("\"%1\" ist keine Gruppe.").arg(caption));
    if (caption == kTaxCollector)
        return false;
    const WorkspaceWriteScope write(lock);
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral(R"(UPDATE "einheiten" SET "Gruppe" = ?
        WHERE "Spiel" = ? AND "Einheit Position" = ? AND "Einheit Nr" = ?)"));
    q.addBindValue(caption);
    q.addBindValue(game.number);
    q.addBindValue(unit.position);
    q.addBindValue(unit.number);
    if (!q.exec()) {
        throw UserError(QStringLiteral("Die Gruppe kann nicht gespeichert werden: ")
            + m_db.errorText(q.lastError()));
    }
    return q.numRowsAffected() > 0;
}

} // namespace tolvimar
