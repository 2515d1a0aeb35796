#pragma once

#include "../base/activegame.h"
#include "pgconnection.h"
#include "sharedtables.h"

#include <QHash>
#include <QList>
#include <functional>
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

    // Takes the write lock of the map's tables for the transaction: other writers wait,
    // readers do not.
    void lockForPush();

    // Sends rows in bulk: startUpload, then the rows in COPY's text format (the
    // table's columns in order, see appendCopyField) in pieces, then finishUpload,
    // which returns how many rows were written. New rows (keys the server lacks,
    // under lockForPush) end in the sender's faction number and go straight into the
    // table; newer rows replace the server's only where their date is newer.
    enum class Upload { New, Newer };
    void startUpload(const SharedTable &table, Upload kind);
    void uploadData(const QByteArray &rows);
    qint64 finishUpload(const SharedTable &table, Upload kind, int sender);
    // One field of a row in COPY's text format: NULL as \N, and backslash, tab and
    // line breaks escaped; a tab separates it from the field before.
    static void appendCopyField(QByteArray &row, const char *utf8, int bytes, bool first);

    // Hands over the rows with the given keys (all rows when keys is null) in batches;
    // the server reads the next batch while the program takes one.
    void fetch(const SharedTable &table, const QList<RowKey> *keys,
        const std::function<void(const PgResult &batch, int row)> &onRow);

private:
    void checkTable(const QString &name, const QList<std::pair<QString, QString>> &columns,
        const QStringList &key, bool *exists);
    [[noreturn]] void foreign(const QString &table, const QString &reason);

    PgConnection m_connection;
};

} // namespace tolvimar
