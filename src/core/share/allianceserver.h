#pragma once

#include "../base/activegame.h"
#include "pgconnection.h"
#include "sharedtables.h"

#include <QHash>
#include <QList>
#include <limits>

namespace tolvimar {

// The key of a row without the game number: one to three whole numbers.
struct RowKey
{
    qint32 a = 0;
    qint32 b = 0;
    qint32 c = 0;
    friend bool operator==(const RowKey &, const RowKey &) = default;
};

inline size_t qHash(const RowKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.a, key.b, key.c);
}

// `Info Datum` of a row; an empty one is older than every date.
constexpr qint64 kNoDate = std::numeric_limits<qint64>::min();

// Key and date of every row of a table.
using Manifest = QHash<RowKey, qint64>;

// The alliance's PostgreSQL database: its map tables, read and written only with
// bound values.
class AllianceServer
{
public:
    AllianceServer(const QString &conninfo, const QString &password,
        const PgConnection::Options &options = PgConnection::Options());

    PgConnection &connection() { return m_connection; }
    QString where() const { return m_connection.where(); }

    // Creates the tables that are missing. Refuses (ShareError, Kind::Foreign) a
    // database whose tables of these names are no alliance map, or whose map belongs
    // to the other game.
    void prepare(GameType type);

    void begin(bool readOnly);
    void commit();

    Manifest manifest(const SharedTable &table);

    // Sends rows (the table's columns, each row's values in order): a row replaces the
    // server's only when its date is newer. Returns how many rows were written.
    qint64 upsert(const SharedTable &table, int rows, PgParams &values, int sender);
    // The most rows one upsert statement takes.
    static int rowsPerStatement(const SharedTable &table);

    // Streams the rows with the given keys (all rows when keys is null).
    void fetch(const SharedTable &table, const QList<RowKey> *keys,
        const std::function<void(const PgResult &row)> &onRow);

private:
    void checkTable(const QString &name, const QList<std::pair<QString, QString>> &columns,
        const QStringList &key, bool *exists);
    [[noreturn]] void foreign(const QString &table, const QString &reason);

    PgConnection m_connection;
    QHash<QString, QByteArray> m_upsertSql; // by table and row count
};

} // namespace tolvimar
