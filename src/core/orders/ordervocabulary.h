#pragma once

#include "../base/activegame.h"
#include "../base/position.h"
#include "orderlanguage.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;

// Everything the order lines of a game may name: its order language, the skill and
// item names (the units table's fields and the word files' values), luxury goods and
// directions, and the numbers of its units, ships, castles and factions with where
// they were seen last. Numbers are written as the game writes them in the template:
// identifier text in Kalmora, decimal in Sulvitan. Built once when a game is opened
// or imported; the colouring, the completion and the hints only read it.
class OrderVocabulary
{
public:
    OrderVocabulary(const OrderLanguage &language, GameType type, int base);
    // The game's language (with the player's and the learnt words) and its rows.
    static OrderVocabulary load(
        Database &db, const ActiveGame &game, QStringList *problems = nullptr);

    // A number the order lines may name; units, ships and castles with their position
    // text, factions without. Kinds other than these four are ignored.
    void addId(ArgumentKind kind, qint64 number, const QString &position = QString(),
        const QString &name = QString());

    const OrderLanguage &language() const { return m_language; }
    GameType gameType() const { return m_type; }
    int base() const { return m_base; }

    // A number as the game's order lines write it.
    QString idText(qint64 number) const;
    // A word that can be such a number: base-N digits in Kalmora, decimal in Sulvitan.
    bool looksLikeId(QStringView text) const;
    bool knowsId(ArgumentKind kind, QStringView text) const;
    // The ids of a kind that begin with the prefix (any case), those seen at the
    // position first, each group by number; at most limit of them (-1: all). With
    // elsewhereToo false only those seen at the position.
    QStringList ids(ArgumentKind kind, const QString &position = QString(), QStringView prefix = {},
        int limit = -1, bool elsewhereToo = true) const;
    // The name of the unit, ship, castle or faction with this id text; empty when
    // none is known.
    QString idName(ArgumentKind kind, QStringView text) const;
    // Where the unit was seen last; empty when it is unknown.
    QString positionOfUnit(QStringView unitText) const;
    // The same place as a position; nullopt when it is unknown or no region's place.
    std::optional<Position> placeOfUnit(QStringView unitText) const;

    // The names of a kind (skills, items, luxury goods, directions), in list order.
    const QStringList &names(ArgumentKind kind) const;
    bool isName(ArgumentKind kind, QStringView text) const;

private:
    struct IdEntry
    {
        qint64 number = 0;
        QString text;
        QString position;
        std::optional<Position> place; // the position read once as it comes in
        QString name;
    };
    struct IdTable
    {
        QList<IdEntry> entries;
        QHash<QString, int> byText; // lower-case text → entry
        QHash<QString, QList<int>> byPosition; // entries by number
    };
    IdTable *idTable(ArgumentKind kind);
    const IdTable *idTable(ArgumentKind kind) const;

    OrderLanguage m_language;
    GameType m_type;
    int m_base;
    IdTable m_units, m_ships, m_castles, m_factions;
    QHash<int, QStringList> m_names;
    QHash<int, QSet<QString>> m_lowerNames;
};

} // namespace tolvimar
