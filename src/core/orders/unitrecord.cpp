#include "unitrecord.h"

#include "../base/errors.h"
#include "../db/schema.h"
#include "../db/table.h"

namespace tolvimar {

namespace {

const QString kNoDescription = QStringLiteral("Keine Beschreibung");

// Finds the row by its key, sets one field and posts: a single update.
void writeField(Table &table, const QVariantList &key, QStringView field, const QVariant &value)
{
    if (!table.findKey(key))
        return;
    table.edit();
    table.setValue(field, value);
    table.post();
}

QVariant numberValue(const QString &text, const QString &caption)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    int value = 0;
    if (!parseStrictInt(text, &value))
        throw UserError(
            QStringLiteral("\"%1\" ist keine gültige Zahl für \"%2\".").arg(text, caption));
    return value;
}

} // namespace

UnitRecord::UnitRecord(Database &db)
    : m_db(db)
    , m_units(std::make_unique<Table>(db, schema::einheiten()))
    , m_factions(std::make_unique<Table>(db, schema::parteien()))
    , m_castles(std::make_unique<Table>(db, schema::burgen()))
    , m_ships(std::make_unique<Table>(db, schema::schiffe()))
{
}

UnitRecord::~UnitRecord() = default;

std::optional<UnitRecord::Selection> UnitRecord::select(
    const QString &line, const ActiveGame &game, const QString &position)
{
    const std::optional<ListEntry> entry = parseListEntry(line, game.type, game.base);
    if (!entry)
        return std::nullopt;
    return select(*entry, game, position);
}

std::optional<UnitRecord::Selection> UnitRecord::select(
    const ListEntry &entry, const ActiveGame &game, const QString &position)
{
    Selection selection;
    selection.kind = entry.kind;
    if (entry.kind == ListEntryKind::Unit) {
        selection.unit = selectUnit(game, position, entry.number);
        if (!selection.unit)
            return std::nullopt;
        selection.description = selection.unit->description;
        return selection;
    }
    const bool castle = entry.kind == ListEntryKind::Castle;
    const std::optional<QString> description = castle
        ? describe(*m_castles, game.number, entry.number, u"Burg Beschreibung")
        : describe(*m_ships, game.number, entry.number, u"Schiffs Beschreibung");
    if (!description)
        return std::nullopt;
    m_game = game.number;
    m_bound = castle ? Bound::Castle : Bound::Ship;
    m_boundNumber = entry.number;
    selection.description = *description;
    return selection;
}

std::optional<UnitViewTexts> UnitRecord::selectUnit(
    const ActiveGame &game, const QString &position, int number)
{
    if (!findUnit(game, position, number))
        return std::nullopt;
    m_bound = Bound::Unit;
    m_boundNumber = number;
    return m_unit;
}

std::optional<UnitViewTexts> UnitRecord::refreshUnit(const ActiveGame &game)
{
    if (!m_unit || !findUnit(game, m_unit->position, m_unit->number))
        return std::nullopt;
    return m_unit;
}

bool UnitRecord::findUnit(const ActiveGame &game, const QString &position, int number)
{
    if (!m_units->find({QStringLiteral("Spiel"), QStringLiteral("Einheit Position"),
                           QStringLiteral("Einheit Nr")},
            {game.number, position, number}))
        return false;
    const QVariant faction = m_units->value(u"Partei Nr");
    m_unit = unitViewTexts(*m_units, factionName(game.number, faction), game);
    m_game = game.number;
    m_faction = faction;
    return true;
}

QString UnitRecord::factionName(int game, const QVariant &faction)
{
    if (faction.isNull() || !m_factions->findKey({game, faction}))
        return QString();
    return m_factions->text(u"Partei Name");
}

std::optional<QString> UnitRecord::describe(Table &table, int game, int number, QStringView field)
{
    if (!table.findKey({game, number}))
        return std::nullopt;
    const QString text = table.text(field);
    return text.isEmpty() ? kNoDescription : text;
}

void UnitRecord::store(UnitBox box, const QString &text)
{
    if (box == UnitBox::Description) {
        switch (m_bound) {
        case Bound::None:
            return;
        case Bound::Unit:
            writeField(*m_units, {m_game, m_boundNumber}, u"Einheit Beschreibung", text);
            m_unit->description = text;
            return;
        case Bound::Castle:
            writeField(*m_castles, {m_game, m_boundNumber}, u"Burg Beschreibung", text);
            return;
        case Bound::Ship:
            writeField(*m_ships, {m_game, m_boundNumber}, u"Schiffs Beschreibung", text);
            return;
        }
    }
    if (!m_unit)
        return;
    const QVariantList key {m_game, m_unit->number};
    switch (box) {
    case UnitBox::Persons: {
        const QVariant value = numberValue(text, QStringLiteral("Anzahl Personen"));
        writeField(*m_units, key, u"Personen", value);
        m_unit->persons = value.toString();
        break;
    }
    case UnitBox::Silver: {
        const QVariant value = numberValue(text, QStringLiteral("Silber"));
        writeField(*m_units, key, u"Silber", value);
        m_unit->silver = value.toString();
        break;
    }
    case UnitBox::Status:
        writeField(*m_units, key, u"Status", text);
        m_unit->status = text;
        break;
    case UnitBox::Hitpoints:
        writeField(*m_units, key, u"Hitpoints", text);
        m_unit->hitpoints = text;
        break;
    case UnitBox::FactionName:
        if (m_faction.isNull() || !m_factions->findKey({m_game, m_faction}))
            throw UserError(QStringLiteral("Die Partei der Einheit %1 ist in dieser Datenbank "
                                           "nicht bekannt; ihr Name wurde nicht gespeichert.")
                                .arg(m_unit->name));
        writeField(*m_factions, {m_game, m_faction}, u"Partei Name", text);
        m_unit->factionName = text;
        break;
    case UnitBox::Description:
        break;
    }
}

} // namespace tolvimar
