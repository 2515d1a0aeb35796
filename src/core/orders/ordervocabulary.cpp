#include "ordervocabulary.h"

#include "../base/identifiers.h"
#include "../base/position.h"
#include "../db/gamequeries.h"
#include "../db/schema.h"

#include <algorithm>

namespace tolvimar {

namespace {

// "x/y/0" and "x/y" are the same region.
QString samePlace(const QString &position)
{
    const std::optional<Position> p = parsePosition(position);
    return p ? positionText(*p) : position;
}

const QStringList kNoNames;

} // namespace

OrderVocabulary::OrderVocabulary(const OrderLanguage &language, GameType type, int base)
    : m_language(language)
    , m_type(type)
    , m_base(base)
{
    const auto setNames = [this](ArgumentKind kind, QStringList names) {
        names += m_language.values(kind);
        names.removeDuplicates();
        QSet<QString> lower;
        for (const QString &name : std::as_const(names))
            lower.insert(name.toLower());
        m_names.insert(int(kind), names);
        m_lowerNames.insert(int(kind), lower);
    };
    setNames(ArgumentKind::Skill, schema::skillFieldNames());
    setNames(ArgumentKind::Item, schema::itemFieldNames());
    setNames(ArgumentKind::Luxury, {});
    setNames(ArgumentKind::Direction, {});
}

OrderVocabulary OrderVocabulary::load(Database &db, const ActiveGame &game, QStringList *problems)
{
    OrderVocabulary vocabulary(
        OrderLanguage::forGame(game.programPath, problems), game.type, game.base);
    if (!game.isOpen())
        return vocabulary;
    GameQueries queries(db);
    for (const NumberPlace &p : queries.unitPlaces(game.number))
        vocabulary.addId(ArgumentKind::Unit, p.number, p.position, p.name);
    for (const NumberPlace &p : queries.shipPlaces(game.number))
        vocabulary.addId(ArgumentKind::Ship, p.number, p.position, p.name);
    for (const NumberPlace &p : queries.castlePlaces(game.number))
        vocabulary.addId(ArgumentKind::Castle, p.number, p.position, p.name);
    for (const NumberPlace &p : queries.factionNumbers(game.number))
        vocabulary.addId(ArgumentKind::Faction, p.number, QString(), p.name);
    return vocabulary;
}

OrderVocabulary::IdTable *OrderVocabulary::idTable(ArgumentKind kind)
{
    return const_cast<IdTable *>(std::as_const(*this).idTable(kind));
}

const OrderVocabulary::IdTable *OrderVocabulary::idTable(ArgumentKind kind) const
{
    switch (kind) {
    case ArgumentKind::Unit:
        return &m_units;
    case ArgumentKind::Ship:
        return &m_ships;
    case ArgumentKind::Castle:
        return &m_castles;
    case ArgumentKind::Faction:
        return &m_factions;
    default:
        return nullptr;
    }
}

void OrderVocabulary::addId(
    ArgumentKind kind, qint64 number, const QString &position, const QString &name)
{
    IdTable *table = idTable(kind);
    if (!table)
        return;
    // The place is read once here; its text is made anew, so that "x/y/0" and "x/y"
    // group as the same region.
    const std::optional<Position> place = parsePosition(position);
    const IdEntry entry {
        number, idText(number), place ? positionText(*place) : position, place, name};
    const QString key = entry.text.toLower();
    if (table->entries.isEmpty() || table->entries.constLast().number < number) {
        // The rows come by number: the common case only appends.
        const int index = int(table->entries.size());
        table->byText.insert(key, index);
        table->entries.append(entry);
        if (!entry.position.isEmpty())
            table->byPosition[entry.position].append(index);
        return;
    }
    if (const auto it = table->byText.constFind(key); it != table->byText.constEnd()) {
        table->entries[*it].position = entry.position;
        table->entries[*it].place = entry.place;
        table->entries[*it].name = entry.name;
    } else {
        const auto at = std::upper_bound(table->entries.begin(), table->entries.end(), number,
            [](qint64 n, const IdEntry &e) { return n < e.number; });
        table->entries.insert(at, entry);
    }
    table->byText.clear();
    table->byPosition.clear();
    for (int i = 0; i < table->entries.size(); ++i) {
        table->byText.insert(table->entries[i].text.toLower(), i);
        if (!table->entries[i].position.isEmpty())
            table->byPosition[table->entries[i].position].append(i);
    }
}

QString OrderVocabulary::idText(qint64 number) const
{
    return numberText(number, m_type, m_base);
}

bool OrderVocabulary::looksLikeId(QStringView text) const
{
    if (text.isEmpty() || text.size() > 12)
        return false;
    const bool decimal = m_type == GameType::Sulvitan;
    return std::all_of(text.begin(), text.end(), [decimal](QChar c) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return true;
        return !decimal && ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'));
    });
}

bool OrderVocabulary::knowsId(ArgumentKind kind, QStringView text) const
{
    const IdTable *table = idTable(kind);
    return table && table->byText.contains(text.toString().toLower());
}

QStringList OrderVocabulary::ids(ArgumentKind kind, const QString &position, QStringView prefix,
    int limit, bool elsewhereToo) const
{
    const IdTable *table = idTable(kind);
    if (!table)
        return {};
    QStringList found;
    const auto full = [&] { return limit >= 0 && found.size() >= limit; };
    const QString place = position.isEmpty() ? QString() : samePlace(position);
    const QList<int> here = place.isEmpty() ? QList<int>() : table->byPosition.value(place);
    for (int i : here) {
        if (full())
            return found;
        if (table->entries[i].text.startsWith(prefix, Qt::CaseInsensitive))
            found.append(table->entries[i].text);
    }
    if (!elsewhereToo)
        return found;
    for (const IdEntry &e : table->entries) {
        if (full())
            break;
        if ((place.isEmpty() || e.position != place)
            && e.text.startsWith(prefix, Qt::CaseInsensitive))
            found.append(e.text);
    }
    return found;
}

QString OrderVocabulary::idName(ArgumentKind kind, QStringView text) const
{
    const IdTable *table = idTable(kind);
    if (!table)
        return QString();
    const auto it = table->byText.constFind(text.toString().toLower());
    return it == table->byText.constEnd() ? QString() : table->entries[*it].name;
}

QString OrderVocabulary::positionOfUnit(QStringView unitText) const
{
    const auto it = m_units.byText.constFind(unitText.toString().toLower());
    return it == m_units.byText.constEnd() ? QString() : m_units.entries[*it].position;
}

std::optional<Position> OrderVocabulary::placeOfUnit(QStringView unitText) const
{
    const auto it = m_units.byText.constFind(unitText.toString().toLower());
    return it == m_units.byText.constEnd() ? std::nullopt : m_units.entries[*it].place;
}

const QStringList &OrderVocabulary::names(ArgumentKind kind) const
{
    const auto it = m_names.constFind(int(kind));
    return it == m_names.constEnd() ? kNoNames : *it;
}

bool OrderVocabulary::isName(ArgumentKind kind, QStringView text) const
{
    const auto it = m_lowerNames.constFind(int(kind));
    return it != m_lowerNames.constEnd() && it->contains(text.toString().toLower());
}

} // namespace tolvimar
