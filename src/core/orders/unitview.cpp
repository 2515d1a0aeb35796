#include "unitview.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../db/schema.h"
#include "../db/table.h"

namespace tolvimar {

namespace {

// The text between an opening bracket and the closing one after it, blanks removed.
std::optional<QString> bracketText(QStringView line, qsizetype open, QChar close)
{
    if (open < 0)
        return std::nullopt;
    const qsizetype end = line.indexOf(close, open + 1);
    if (end < 0)
        return std::nullopt;
    return line.mid(open + 1, end - open - 1).trimmed().toString();
}

// A unit line is prefix + name + " (" + id + ") " + ", " + race: the id stands in the
// last bracket before the last ") , ".
qsizetype unitBracket(QStringView line)
{
    const qsizetype tail = line.lastIndexOf(u") , ");
    if (tail < 0)
        return line.indexOf(u'(');
    return line.left(tail).lastIndexOf(u'(');
}

std::optional<int> buildingNumber(const QString &text, GameType type, int base)
{
    if (type == GameType::Kalmora)
        return strToId(text, base);
    int value = 0;
    if (!parseStrictInt(text, &value))
        return std::nullopt;
    return value;
}

QString fieldText(const Table &t, QStringView field)
{
    return t.isNull(field) ? QString() : t.value(field).toString();
}

} // namespace

std::optional<ListEntry> parseListEntry(QStringView line, GameType type, int base)
{
    ListEntry entry;
    std::optional<QString> text;
    if (line.startsWith(u"-Burg")) {
        entry.kind = ListEntryKind::Castle;
        text = bracketText(line, line.lastIndexOf(u'('), u')');
    } else if (line.startsWith(u"-Schi")) {
        entry.kind = ListEntryKind::Ship;
        text = bracketText(line, line.lastIndexOf(u'['), u']');
    } else {
        text = bracketText(line, unitBracket(line), u')');
    }
    if (!text)
        return std::nullopt;
    if (entry.kind == ListEntryKind::Unit) {
        entry.number = strToId(*text, base);
        return entry;
    }
    const std::optional<int> number = buildingNumber(*text, type, base);
    if (!number)
        return std::nullopt;
    entry.number = *number;
    return entry;
}

QStringList starListPieces(const QString &list)
{
    QStringList pieces;
    QString rest = list.mid(1);
    for (;;) {
        const qsizetype star = rest.indexOf(u'*');
        if (star < 0) {
            pieces.append(rest);
            return pieces;
        }
        pieces.append(rest.left(star));
        rest = rest.mid(star + 1).trimmed();
    }
}

qint64 roundHalfEven(qint64 numerator, qint64 denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    qint64 quotient = numerator / denominator;
    qint64 remainder = numerator % denominator;
    // Truncation went towards zero; move to floor so the remainder is not negative.
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    const qint64 twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

QString skillLine(const QString &name, const QString &stored, int persons)
{
    const qsizetype blank = stored.indexOf(u' ');
    const QString pointsText = blank < 0 ? stored : stored.left(blank);
    const QString level = blank < 0 ? QString() : stored.mid(blank + 1);
    int points = 0;
    if (persons <= 0 || !parseStrictInt(pointsText, &points))
        return name + u' ' + stored;
    return name + QStringLiteral(" [") + QString::number(roundHalfEven(points, persons))
        + QStringLiteral("] ") + level;
}

QString factionNumberText(const QVariant &faction, GameType type, int base)
{
    if (faction.isNull())
        return QString();
    const qint64 number = faction.toLongLong();
    if (number == -1)
        return QStringLiteral(" ---- ");
    return numberText(number, type, base);
}

UnitViewTexts unitViewTexts(const Table &units, const QString &factionName, const ActiveGame &game)
{
    UnitViewTexts v;
    v.number = units.intValue(u"Einheit Nr");
    v.position = units.text(u"Einheit Position");
    v.name = units.text(u"Einheit Name");
    v.numberField = fieldText(units, u"Einheit Nr");
    v.description = units.text(u"Einheit Beschreibung");
    const QVariant faction = units.value(u"Partei Nr");
    v.factionNumber = factionNumberText(faction, game.type, game.base);
    v.factionName = factionName;
    v.flags = units.text(u"Flags");
    v.camouflageEnabled = !faction.isNull() && faction.toLongLong() == game.factionNumber;
    v.camouflaged = v.camouflageEnabled && v.flags.contains(u'T');
    v.persons = fieldText(units, u"Personen");
    v.silver = fieldText(units, u"Silber");
    v.status = units.text(u"Status");
    v.hitpoints = units.text(u"Hitpoints");

    for (const QString &item : schema::itemFieldNames()) {
        if (units.isNull(item))
            continue;
        const qint64 amount = units.value(item).toLongLong();
        if (amount != 0)
            v.items.append(QString::number(amount) + u' ' + item);
    }
    const QString unknownItems = units.text(u"Unbekannte Gegenstaende");
    if (!unknownItems.isEmpty())
        v.items += starListPieces(unknownItems);

    const int persons = units.intValue(u"Personen");
    for (const QString &skill : schema::skillFieldNames()) {
        const QString stored = units.text(skill);
        if (!stored.isEmpty())
            v.skills.append(skillLine(skill, stored, persons));
    }
    const QString unknownSkills = units.text(u"Unbekannte Talente");
    if (!unknownSkills.isEmpty())
        v.skills += starListPieces(unknownSkills);
    const QString spells = units.text(u"Zauber");
    if (!spells.isEmpty()) {
        v.skills << QString() << QStringLiteral("Zauber :");
        v.skills += starListPieces(spells);
    }
    return v;
}

} // namespace tolvimar
