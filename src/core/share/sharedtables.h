#pragma once

#include "../db/schema.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tolvimar {

// A local table as the alliance server keeps it: keyed like the local one without the
// game number, with the fields that travel, plus who sent each row and when.
struct SharedTable
{
    const TableDef *local = nullptr;
    QString caption; // "Regionen", "Burgen", "Schiffe", "Einheiten"
    // The travelling fields in the local stored order: all but `Spiel` and the
    // player's own marks and groupings.
    QStringList columns;
    QList<int> keyColumns; // indexes into columns, in key order
    int dateColumn = -1; // `Info Datum`
    // A field entered by hand: an empty incoming value keeps the one already there.
    QStringList keepWhenEmpty;

    const QString &name() const { return local->name; }
    FieldType type(int column) const;
    QStringList keyNames() const;
    // The SET list of an upsert (PostgreSQL and SQLite alike): every travelling field
    // from the incoming row, a field of keepWhenEmpty only when the incoming is not empty.
    QStringList takeIncoming() const;
};

namespace shared {

// Regions, castles, ships and units, in this order.
const QList<SharedTable> &tables();

// "a", "b", … for SQL text, each name quoted.
QString quotedList(const QStringList &names, const QString &prefix = QString());

// The fields of the units table that never leave the player's database.
const QStringList &ownUnitFields();

// The columns that only the server has.
inline const QString kSender = QStringLiteral("Absender"); // faction number
inline const QString kUser = QStringLiteral("Benutzer"); // the server's user name
inline const QString kSent = QStringLiteral("Gesendet"); // when it arrived

// The table that marks a database as an alliance map, with its format and game.
inline const QString kMarkTable = QStringLiteral("allianzkarte");
constexpr int kFormat = 1;

} // namespace shared
} // namespace tolvimar
