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
#include <deque>

namespace tolvimar {

namespace {
constexpr int kShownFields = 12;
const QString kNoGroup = QStringLiteral("Keine");
const QString kAllGroups = QStringLiteral("Alle");
const QString kTaxCollector = QStringLiteral("Steuereintreiber");

const QString kZero = QStringLiteral("0");
const QString kNoTalent = QStringLiteral("0 [0]");

// The count and the talent behind each field of a record; -1 for none.
constexpr int kCountOfField[] = {-1, -1, -1, -1, GroupingUnitRow::Persons, -1, -1, -1, -1,
    GroupingUnitRow::Spears, GroupingUnitRow::Swords, GroupingUnitRow::Bows,
    GroupingUnitRow::Horses, GroupingUnitRow::Carts, -1, -1, GroupingUnitRow::Silver, -1};
constexpr int kTalentOfField[] = {-1, -1, -1, -1, -1, GroupingUnitRow::Polearms,
    GroupingUnitRow::Blades, GroupingUnitRow::Archery, GroupingUnitRow::Stamina, -1, -1, -1, -1, -1,
    GroupingUnitRow::Riding, GroupingUnitRow::Entertainment, -1, -1};
constexpr int kRecordFields = 18;

const QString &talentField(int talent)
{
    static const QString fields[] = {QStringLiteral("Stangenwaffen"), QStringLiteral("Hiebwaffen"),
        QStringLiteral("Bogenschiessen"), QStringLiteral("Ausdauer"), QStringLiteral("Reiten"),
        QStringLiteral("Unterhaltung")};
    return fields[talent];
}

// The persons a unit's talents are divided by, as a count read as a variant gives them.
int talentPersons(const GroupingUnitRow &u)
{
    if (!u.oddCounts.isEmpty())
        return u.oddCounts[GroupingUnitRow::Persons].toInt();
    return int(u.counts[GroupingUnitRow::Persons]);
}

QString countField(const GroupingUnitRow &u, int count)
{
    if (!u.oddCounts.isEmpty())
        return countText(u.oddCounts[count], kZero);
    if (u.countIsNumber & (1u << count))
        return QString::number(u.counts[size_t(count)]);
    return kZero;
}

// Stops the report at the first unit by number with a talent that holds no number.
void checkTalents(const std::deque<GroupingUnitRow> &units, int base)
{
    const GroupingUnitRow *bad = nullptr;
    int badTalent = 0;
    for (const GroupingUnitRow &u : units) {
        if (bad && bad->number <= u.number)
            continue;
        for (int t = 0; t < GroupingUnitRow::TalentFields; ++t) {
            const QString &talent = u.talents[size_t(t)];
            if (!talent.isEmpty() && !talentHasNumber(talent)) {
                bad = &u;
                badTalent = t;
                break;
            }
        }
    }
    if (bad) {
        talentWithoutNumber(bad->name, bad->number, bad->position, base, talentField(badTalent),
            bad->talents[size_t(badTalent)]);
    }
}

// The record text of group, position, name and number, written into text at once: a
// report makes two of them for each unit.
void leadingRecordText(const GroupingUnitRow &u, int base, QString &text)
{
    const QString &group = u.group.isEmpty() ? kNoGroup : u.group;
    const QString number = idToStr(u.number, base);
    const QStringView parts[] = {group, u"*1;", u.position, u"*2;", u.name, u"*3;", number};
    qsizetype length = 0;
    for (QStringView part : parts)
        length += part.size();
    text.resize(length);
    QChar *out = text.data();
    for (QStringView part : parts) {
        std::copy(part.begin(), part.end(), out);
        out += part.size();
    }
}

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
    const QString &zero = kZero;
    const QString &noTalent = kNoTalent;
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

QString Groupings::fieldText(const GroupingUnitRow &u, int field, int base)
{
    switch (field) {
    case 0:
        return u.group.isEmpty() ? kNoGroup : u.group;
    case 1:
        return u.position;
    case 2:
        return u.name;
    case 3:
        return idToStr(u.number, base);
    case kRecordFields - 1:
        return QStringLiteral("Ende");
    default:
        break;
    }
    if (field < 0 || field >= kRecordFields)
        return QString();
    if (const int count = kCountOfField[field]; count >= 0)
        return countField(u, count);
    const int talent = kTalentOfField[field];
    const QString &text = u.talents[size_t(talent)];
    if (text.isEmpty())
        return talent == GroupingUnitRow::Riding || talent == GroupingUnitRow::Entertainment
            ? kNoTalent
            : kZero;
    if (!talentHasNumber(text))
        talentWithoutNumber(u.name, u.number, u.position, base, talentField(talent), text);
    return formatTalent(text, talentPersons(u));
}

QStringList Groupings::unitFields(const GroupingUnitRow &u, int base)
{
    QStringList fields;
    fields.reserve(kRecordFields);
    for (int f = 0; f < kRecordFields; ++f)
        fields.append(fieldText(u, f, base));
    return fields;
}

std::optional<qint64> Groupings::shownCount(const GroupingUnitRow &u, int column)
{
    if (column < 0 || column >= kRecordFields || !u.oddCounts.isEmpty())
        return std::nullopt;
    const int count = kCountOfField[column];
    if (count < 0)
        return std::nullopt;
    return u.countIsNumber & (1u << count) ? u.counts[size_t(count)] : 0;
}

QString GroupingReport::cellText(int unit, int column) const
{
    if (unit < 0 || unit >= units.size() || column < 0 || column >= kShownFields)
        return QString();
    return Groupings::fieldText(units[unit], column, base);
}

GridRows GroupingReport::gridRows() const
{
    GridRows rows {Groupings::headings()};
    rows.reserve(units.size() + 1);
    for (int u = 0; u < units.size(); ++u) {
        QStringList cells;
        cells.reserve(kShownFields);
        for (int c = 0; c < kShownFields; ++c)
            cells.append(cellText(u, c));
        rows.append(cells);
    }
    if (units.isEmpty())
        rows.append(QStringList(kShownFields, QString()));
    return rows;
}

GroupingReport Groupings::report(const ActiveGame &game, const GroupingSelection &selection)
{
    auto units = std::make_shared<std::deque<GroupingUnitRow>>(
        m_queries.groupingUnits(game.number, unitSelection(selection, game.base)));
    const std::deque<GroupingUnitRow> &read = *units;
    checkTalents(read, game.base);
    // A unit number occurs once in a game, and the number text differs from every
    // other at the first collation level. Unless a group or name holds the separator's
    // "*", the first difference of two whole record texts therefore lies within group,
    // position, name and number, and those four fields alone give the same order.
    const bool leadingFieldsDecide = std::none_of(read.cbegin(), read.cend(),
        [](const GroupingUnitRow &u) { return u.group.contains(u'*') || u.name.contains(u'*'); });
    const int base = game.base;
    std::vector<int> order = recordOrder(int(read.size()), [&](int r, QString &text) {
        if (leadingFieldsDecide)
            leadingRecordText(read[size_t(r)], base, text);
        else
            text = RecordList::recordText(unitFields(read[size_t(r)], base));
    });
    GroupingReport result;
    result.count = int(read.size());
    result.base = base;
    result.units = GroupingUnits(std::move(units), std::move(order));
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
        game, caption, unitKey(position, unitNumberOf(numberText.trimmed(), game.base)), lock);
}

bool Groupings::groupchange(
    const ActiveGame &game, const QString &caption, const UnitKey &unit, WorkspaceLock *lock)
{
    if (!groupMenuEntries().contains(caption))
        throw UserError(QStringLiteral("\"%1\" ist keine Gruppe.").arg(caption));
    if (caption == kTaxCollector || !unit.place)
        return false;
    const WorkspaceWriteScope write(lock);
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral(R"(UPDATE "einheiten" SET "Gruppe" = ?
        WHERE "Spiel" = ? AND "Einheit Position" = ? AND "Einheit Nr" = ?)"));
    q.addBindValue(caption);
    q.addBindValue(game.number);
    q.addBindValue(positionText(*unit.place));
    q.addBindValue(unit.number);
    if (!q.exec()) {
        throw UserError(QStringLiteral("Die Gruppe kann nicht gespeichert werden: ")
            + m_db.errorText(q.lastError()));
    }
    return q.numRowsAffected() > 0;
}

} // namespace tolvimar
