#include "mapsharing.h"

#include "../base/faultinjection.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../db/sqlitestatement.h"
#include "../db/statementreading.h"

#include <QDir>

namespace tolvimar {

namespace {

QString quotedColumns(const QStringList &names)
{
    QStringList quoted;
    for (const QString &n : names)
        quoted.append(sqlQuote(n));
    return quoted.join(QStringLiteral(", "));
}

QStringList keyNames(const SharedTable &t)
{
    QStringList key;
    for (int k : t.keyColumns)
        key.append(t.columns[k]);
    return key;
}

// The row's key from the first columns of a statement; false when a key field is empty.
bool readKey(const SqliteStatement &s, const QList<int> &columns, RowKey *key)
{
    qint32 *parts[3] = {&key->a, &key->b, &key->c};
    for (int k = 0; k < columns.size(); ++k) {
        if (s.columnIsNull(columns[k]))
            return false;
        *parts[k] = qint32(s.columnInt64(columns[k]));
    }
    return true;
}

[[noreturn]] void unwritable(Database &db, const SqliteError &e)
{
    throw UserError(QStringLiteral("Die Datenbank %1 kann nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(db.path()), e.message()));
}

} // namespace

QString ShareCounts::text() const
{
    const QStringList captions = {QStringLiteral("Regionen"), QStringLiteral("Burgen"),
        QStringLiteral("Schiffe"), QStringLiteral("Einheiten")};
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts.append(captions[i] + u' ' + QString::number(rows[i]));
    return QStringLiteral("%1 %2 (%3)")
        .arg(total())
        .arg(total() == 1 ? QStringLiteral("Zeile") : QStringLiteral("Zeilen"))
        .arg(parts.join(QStringLiteral(", ")));
}

MapSharing::MapSharing(Database &db, int game, ShareProgress &progress)
    : m_db(db)
    , m_game(game)
    , m_progress(progress)
{
}

void MapSharing::report(qint64 done, qint64 total)
{
    m_progress.setPercent(total > 0 ? int(done * 100 / total) : 100);
}

Manifest MapSharing::localManifest(const SharedTable &table)
{
    QStringList columns = keyNames(table);
    columns.append(table.columns[table.dateColumn]);
    auto statement = prepareRead(m_db,
        QStringLiteral("SELECT %1 FROM %2 WHERE \"Spiel\" = ?")
            .arg(quotedColumns(columns), sqlQuote(table.name())));
    statement->bind(0, m_game);
    const int keys = int(table.keyColumns.size());
    QList<int> keyIndexes;
    for (int k = 0; k < keys; ++k)
        keyIndexes.append(k);
    Manifest manifest;
    StatementReading rows(*statement);
    while (rows.next()) {
        RowKey key;
        if (readKey(*statement, keyIndexes, &key))
            manifest.insert(
                key, statement->columnIsNull(keys) ? kNoDate : statement->columnInt64(keys));
    }
    return manifest;
}

ShareCounts MapSharing::push(AllianceServer &server, int sender)
{
    m_progress.setStep(QStringLiteral("Hochladen: Stand des Servers lesen"));
    m_progress.setPercent(0);
    server.begin(false);
    QList<Manifest> remote;
    qint64 total = 0;
    for (const SharedTable &t : shared::tables()) {
        remote.append(server.manifest(t));
        auto count = prepareRead(m_db,
            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE \"Spiel\" = ?").arg(sqlQuote(t.name())));
        count->bind(0, m_game);
        StatementReading reading(*count);
        if (reading.next())
            total += reading.integer(0);
    }
    ShareCounts counts;
    qint64 done = 0;
    for (int i = 0; i < shared::tables().size(); ++i) {
        const SharedTable &t = shared::tables()[i];
        m_progress.setStep(QStringLiteral("Hochladen: ") + t.caption);
        counts.rows[i] = pushTable(server, t, remote[i], sender, &done, total);
        remote[i] = Manifest();
    }
    m_progress.setStep(QStringLiteral("Hochladen: abschließen"));
    server.commit();
    m_progress.setPercent(100);
    return counts;
}

qint64 MapSharing::pushTable(AllianceServer &server, const SharedTable &table,
    const Manifest &remote, int sender, qint64 *done, qint64 total)
{
    const int n = int(table.columns.size());
    auto statement = prepareRead(m_db,
        QStringLiteral("SELECT %1 FROM %2 WHERE \"Spiel\" = ?")
            .arg(quotedColumns(table.columns), sqlQuote(table.name())));
    statement->bind(0, m_game);
    const int perStatement = AllianceServer::rowsPerStatement(table);
    PgParams batch;
    batch.reserve(perStatement * n + 1, qsizetype(perStatement) * n * 4);
    int inBatch = 0;
    qint64 written = 0;
    StatementReading rows(*statement);
    while (rows.next()) {
        if (++*done % 1024 == 0)
            report(*done, total);
        RowKey key;
        if (!readKey(*statement, table.keyColumns, &key))
            continue; // a row without its key cannot be matched on the server
        const qint64 date = statement->columnIsNull(table.dateColumn)
            ? kNoDate
            : statement->columnInt64(table.dateColumn);
        const auto there = remote.constFind(key);
        if (there != remote.constEnd() && *there >= date)
            continue;
        for (int c = 0; c < n; ++c) {
            int bytes = 0;
            if (const char *value = statement->columnUtf8(c, &bytes))
                batch.add(value, bytes);
            else
                batch.addNull();
        }
        if (++inBatch == perStatement) {
            written += server.upsert(table, inBatch, batch, sender);
            batch.clear();
            inBatch = 0;
        }
    }
    if (inBatch > 0)
        written += server.upsert(table, inBatch, batch, sender);
    return written;
}

ShareCounts MapSharing::pull(AllianceServer &server, WorkspaceLock *lock)
{
    m_progress.setStep(QStringLiteral("Herunterladen: Stand vergleichen"));
    m_progress.setPercent(0);
    m_changedLevels.clear();
    const WorkspaceWriteScope write(lock);
    const CacheScope cache(m_db, qint64(128) << 20);
    Transaction transaction(m_db);
    server.begin(true);

    QList<QList<RowKey>> wanted;
    QList<bool> everything;
    qint64 total = 0;
    for (const SharedTable &t : shared::tables()) {
        const Manifest local = localManifest(t);
        const Manifest remote = server.manifest(t);
        QList<RowKey> keys;
        for (auto it = remote.constBegin(); it != remote.constEnd(); ++it) {
            const auto here = local.constFind(it.key());
            if (here == local.constEnd() || *here < it.value())
                keys.append(it.key());
        }
        total += keys.size();
        everything.append(keys.size() == remote.size());
        wanted.append(std::move(keys));
    }
    QSet<int> levels;
    for (const RowKey &key : std::as_const(wanted[0]))
        levels.insert(key.c);

    ShareCounts counts;
    qint64 done = 0;
    for (int i = 0; i < shared::tables().size(); ++i) {
        const SharedTable &t = shared::tables()[i];
        if (wanted[i].isEmpty())
            continue;
        m_progress.setStep(QStringLiteral("Herunterladen: ") + t.caption);
        counts.rows[i] = pullTable(server, t, wanted[i], everything[i], &done, total);
        wanted[i] = QList<RowKey>();
    }
    addLevels(levels);
    m_progress.setStep(QStringLiteral("Herunterladen: abschließen"));
    server.commit();
    transaction.commit();
    m_changedLevels = levels;
    m_progress.setPercent(100);
    return counts;
}

qint64 MapSharing::pullTable(AllianceServer &server, const SharedTable &table,
    const QList<RowKey> &wanted, bool everything, qint64 *done, qint64 total)
{
    FaultInjection::memoryPoint(("share-pull-" + table.name()).toLatin1().constData());
    const int n = int(table.columns.size());
    QStringList placeholders(n + 1, QStringLiteral("?"));
    QStringList updates;
    const QString name = sqlQuote(table.name());
    for (const QString &c : table.columns) {
        const QString q = sqlQuote(c);
        updates.append(table.keepWhenEmpty.contains(c)
                ? QStringLiteral("%1 = COALESCE(NULLIF(excluded.%1, ''), %2.%1)").arg(q, name)
                : QStringLiteral("%1 = excluded.%1").arg(q));
    }
    const QString date = sqlQuote(table.columns[table.dateColumn]);
    const QString sql
        = QStringLiteral("INSERT INTO %1 (\"Spiel\", %2) VALUES (%3) ON CONFLICT (\"Spiel\", %4) "
                         "DO UPDATE SET %5 WHERE COALESCE(%1.%6, -9223372036854775808) < "
                         "COALESCE(excluded.%6, -9223372036854775808)")
              .arg(name, quotedColumns(table.columns), placeholders.join(u", "),
                  quotedColumns(keyNames(table)), updates.join(QStringLiteral(", ")), date);
    qint64 written = 0;
    try {
        SqliteStatement statement(m_db.handle(), sql);
        statement.bind(0, m_game);
        server.fetch(table, everything ? nullptr : &wanted, [&](const PgResult &row) {
            for (int c = 0; c < n; ++c)
                statement.bindUtf8(
                    c + 1, row.isNull(0, c) ? nullptr : row.value(0, c), row.length(0, c));
            statement.step();
            statement.reset();
            written += statement.changes();
            if (++*done % 1024 == 0)
                report(*done, total);
        });
    } catch (const SqliteError &e) {
        unwritable(m_db, e);
    }
    return written;
}

void MapSharing::addLevels(const QSet<int> &levels)
{
    // As the import does: a level first met gets a row named "unbekannt".
    try {
        SqliteStatement statement(m_db.handle(),
            QStringLiteral("INSERT INTO %1 (\"Spiel\", \"Ebene\", \"Name\") VALUES (?, ?, ?) "
                           "ON CONFLICT (\"Spiel\", \"Ebene\") DO NOTHING")
                .arg(sqlQuote(schema::ebenen().name)));
        statement.bind(0, m_game);
        statement.bind(2, QStringLiteral("unbekannt"));
        for (int level : levels) {
            if (level == 0)
                continue;
            statement.bind(1, level);
            statement.step();
            statement.reset();
        }
    } catch (const SqliteError &e) {
        unwritable(m_db, e);
    }
}

} // namespace tolvimar
