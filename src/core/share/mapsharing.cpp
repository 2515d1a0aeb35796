#include "mapsharing.h"

#include "../base/faultinjection.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../db/sqlitestatement.h"
#include "../db/statementreading.h"

#include <QDir>
#include <cstdlib>

namespace tolvimar {

namespace {

// The tables are read more than once (keys and dates, then rows): SQLite's page cache
// grows to its largest for a sync.
constexpr qint64 kCacheBytes = qint64(128) << 20;

using shared::quotedList;

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
    QStringList columns = table.keyNames();
    columns.append(table.columns[table.dateColumn]);
    auto statement = prepareRead(m_db,
        QStringLiteral("SELECT %1 FROM %2 NOT INDEXED WHERE \"Spiel\" = ?")
            .arg(quotedList(columns), sqlQuote(table.name())));
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
    m_progress.setStep(QStringLiteral("Hochladen: Stand vergleichen"));
    m_progress.setPercent(0);
    const CacheScope cache(m_db, kCacheBytes);
    server.begin(false);
    // Other members' pushes wait until this one is done, so that the server's keys
    // read now stay true: rows it lacks go straight into its tables.
    server.lockForPush();
    struct Plan
    {
        QList<RowKey> missing; // the server has no such row
        QList<RowKey> newer; // the server's row is older
        qint64 tableRows = 0;
    };
    QList<Plan> plans;
    qint64 total = 0;
    for (const SharedTable &t : shared::tables()) {
        const Manifest remote = server.manifest(t);
        const Manifest local = localManifest(t);
        Plan plan;
        plan.tableRows = local.size();
        for (auto it = local.constBegin(); it != local.constEnd(); ++it) {
            const auto there = remote.constFind(it.key());
            if (there == remote.constEnd())
                plan.missing.append(it.key());
            else if (*there < it.value())
                plan.newer.append(it.key());
        }
        total += plan.missing.size() + plan.newer.size();
        plans.append(std::move(plan));
    }
    ShareCounts counts;
    qint64 done = 0;
    const QByteArray senderEnd = '\t' + QByteArray::number(sender) + '\n';
    for (int i = 0; i < shared::tables().size(); ++i) {
        const SharedTable &t = shared::tables()[i];
        Plan &plan = plans[i];
        if (plan.missing.isEmpty() && plan.newer.isEmpty())
            continue;
        m_progress.setStep(QStringLiteral("Hochladen: ") + t.caption);
        if (!plan.missing.isEmpty()) {
            server.startUpload(t, AllianceServer::Upload::New);
            uploadRows(server, t, plan.missing, plan.tableRows, senderEnd, &done, total);
            counts.rows[i] += server.finishUpload(t, AllianceServer::Upload::New, sender);
        }
        if (!plan.newer.isEmpty()) {
            server.startUpload(t, AllianceServer::Upload::Newer);
            uploadRows(server, t, plan.newer, plan.tableRows, "\n", &done, total);
            counts.rows[i] += server.finishUpload(t, AllianceServer::Upload::Newer, sender);
        }
        plan = Plan();
    }
    m_progress.setStep(QStringLiteral("Hochladen: abschließen"));
    // The last report before the commit: a progress that may stop the work (a cancel)
    // must not hear of it after the commit.
    m_progress.setPercent(100);
    server.commit();
    return counts;
}

void MapSharing::uploadRows(AllianceServer &server, const SharedTable &table,
    const QList<RowKey> &keys, qint64 tableRows, const QByteArray &rowEnd, qint64 *done,
    qint64 total)
{
    const int n = int(table.columns.size());
    constexpr qsizetype kPiece = 1 << 20;
    QByteArray buffer;
    buffer.reserve(kPiece + 64 * 1024);
    auto addRow = [&](const SqliteStatement &s) {
        for (int c = 0; c < n; ++c) {
            int bytes = 0;
            const char *value = s.columnUtf8(c, &bytes);
            AllianceServer::appendCopyField(buffer, value, bytes, c == 0);
        }
        buffer += rowEnd;
        if (buffer.size() >= kPiece) {
            server.uploadData(buffer);
            buffer.truncate(0);
        }
        if (++*done % 1024 == 0)
            report(*done, total);
    };
    const QString select = QStringLiteral("SELECT %1 FROM %2 %3 WHERE \"Spiel\" = ?");
    if (keys.size() * 4 >= tableRows) {
        // Most of the table: one pass over it, in the order of the file.
        const QSet<RowKey> wanted(keys.begin(), keys.end());
        auto statement = prepareRead(m_db,
            select.arg(
                quotedList(table.columns), sqlQuote(table.name()), QStringLiteral("NOT INDEXED")));
        statement->bind(0, m_game);
        StatementReading rows(*statement);
        while (rows.next()) {
            RowKey key;
            if (readKey(*statement, table.keyColumns, &key) && wanted.contains(key))
                addRow(*statement);
        }
    } else {
        // A few rows: each by its key.
        QString byKey = select.arg(quotedList(table.columns), sqlQuote(table.name()), QString());
        for (const QString &k : table.keyNames())
            byKey += QStringLiteral(" AND %1 = ?").arg(sqlQuote(k));
        auto statement = prepareRead(m_db, byKey);
        statement->bind(0, m_game);
        for (const RowKey &key : keys) {
            const qint32 parts[3] = {key.a, key.b, key.c};
            for (int k = 0; k < table.keyColumns.size(); ++k)
                statement->bind(k + 1, parts[k]);
            StatementReading row(*statement);
            if (row.next())
                addRow(*statement);
        }
    }
    if (!buffer.isEmpty())
        server.uploadData(buffer);
}

qint64 MapSharing::nextTurn(qint64 dateCode)
{
    return dateCode % 100 >= 12 ? (dateCode / 100 + 1) * 100 + 1 : dateCode + 1;
}

ShareCounts MapSharing::pull(AllianceServer &server, WorkspaceLock *lock, const OwnKnowledge &own)
{
    m_progress.setStep(QStringLiteral("Herunterladen: Stand vergleichen"));
    m_progress.setPercent(0);
    m_changedLevels.clear();
    m_refused = ShareCounts();
    m_refusedRows.clear();
    const WorkspaceWriteScope write(lock);
    const CacheScope cache(m_db, kCacheBytes);
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

    ShareCounts counts;
    qint64 done = 0;
    QSet<int> levels;
    for (int i = 0; i < shared::tables().size(); ++i) {
        const SharedTable &t = shared::tables()[i];
        if (wanted[i].isEmpty())
            continue;
        m_progress.setStep(QStringLiteral("Herunterladen: ") + t.caption);
        counts.rows[i] = pullTable(server, i, wanted[i], everything[i], own, &done, total);
        wanted[i] = QList<RowKey>();
    }
    levels.swap(m_changedLevels);
    addLevels(levels);
    m_progress.setStep(QStringLiteral("Herunterladen: abschließen"));
    m_progress.setPercent(100);
    server.commit();
    transaction.commit();
    m_changedLevels = levels;
    return counts;
}

namespace {

// A whole number of the server's text form; false for NULL or anything else.
bool numberAt(const PgResult &batch, int row, int column, qint64 *number)
{
    if (batch.isNull(row, column))
        return false;
    bool ok = false;
    *number = QByteArray::fromRawData(batch.value(row, column), batch.length(row, column))
                  .toLongLong(&ok);
    return ok;
}

} // namespace

QString MapSharing::refusal(int tableIndex, const PgResult &batch, int row, qint64 latest) const
{
    const SharedTable &table = shared::tables()[tableIndex];
    qint64 key[3] = {};
    for (int k = 0; k < table.keyColumns.size(); ++k) {
        if (!numberAt(batch, row, table.keyColumns[k], &key[k]))
            return QStringLiteral("%1 ohne Schlüssel: nicht übernommen").arg(table.caption);
    }
    // The name is made only for a row that is refused: most rows are sound.
    QString problem;
    if (tableIndex == 0) {
        if (std::abs(key[0]) > kMaxCoordinate || std::abs(key[1]) > kMaxCoordinate)
            problem = QStringLiteral("Koordinaten außerhalb von -%1 bis %1").arg(kMaxCoordinate);
        else if (std::abs(key[2]) > kMaxLevel)
            problem = QStringLiteral("Ebene außerhalb von -%1 bis %1").arg(kMaxLevel);
    } else if (key[0] <= 0) {
        problem = QStringLiteral("Nummer nicht größer als 0");
    }
    qint64 date = 0;
    if (problem.isEmpty() && !batch.isNull(row, table.dateColumn)) {
        // 0 is the date of a region entered by hand.
        if (!numberAt(batch, row, table.dateColumn, &date) || date < 0)
            problem = QStringLiteral("Info Datum %1 ist kein Datum")
                          .arg(QString::fromUtf8(batch.value(row, table.dateColumn),
                              batch.length(row, table.dateColumn)));
        else if (latest > 0 && date > latest)
            problem = QStringLiteral("Info Datum %1 liegt nach %2, der Runde nach dem neuesten "
                                     "eingelesenen Report")
                          .arg(date)
                          .arg(latest);
    }
    if (problem.isEmpty())
        return problem;
    QString name;
    if (tableIndex == 0) {
        name = QStringLiteral("Region %1/%2").arg(key[0]).arg(key[1]);
        if (key[2] != 0)
            name += u'/' + QString::number(key[2]);
    } else {
        static const QString kinds[] = {
            QString(), QStringLiteral("Burg"), QStringLiteral("Schiff"), QStringLiteral("Einheit")};
        name = kinds[tableIndex] + u' ' + QString::number(key[0]);
    }
    return name + QStringLiteral(": ") + problem;
}

qint64 MapSharing::pullTable(AllianceServer &server, int tableIndex, const QList<RowKey> &wanted,
    bool everything, const OwnKnowledge &own, qint64 *done, qint64 total)
{
    const SharedTable &table = shared::tables()[tableIndex];
    FaultInjection::memoryPoint(("share-pull-" + table.name()).toLatin1().constData());
    const int n = int(table.columns.size());
    QStringList placeholders(n + 1, QStringLiteral("?"));
    const QString name = sqlQuote(table.name());
    const QStringList updates = table.takeIncoming();
    const QString date = sqlQuote(table.columns[table.dateColumn]);
    // The player's own units stay as the own reports wrote them.
    const bool units = &table == &shared::tables()[3];
    const int factionColumn = units ? int(table.columns.indexOf(QStringLiteral("Partei Nr"))) : -1;
    const bool keepOwn = units && own.faction > 0;
    QString sql
        = QStringLiteral("INSERT INTO %1 (\"Spiel\", %2) VALUES (%3) ON CONFLICT (\"Spiel\", %4) "
                         "DO UPDATE SET %5 WHERE COALESCE(%1.%6, -9223372036854775808) < "
                         "COALESCE(excluded.%6, -9223372036854775808)")
              .arg(name, quotedList(table.columns), placeholders.join(u", "),
                  quotedList(table.keyNames()), updates.join(QStringLiteral(", ")), date);
    if (keepOwn)
        sql += QStringLiteral(" AND %1.\"Partei Nr\" IS NOT ?").arg(name);
    const qint64 latest = own.newestReport > 0 ? nextTurn(own.newestReport) : 0;
    qint64 written = 0;
    try {
        SqliteStatement statement(m_db.handle(), sql);
        statement.bind(0, m_game);
        if (keepOwn)
            statement.bind(n + 1, own.faction);
        server.fetch(table, everything ? nullptr : &wanted, [&](const PgResult &batch, int r) {
            if (++*done % 1024 == 0)
                report(*done, total);
            const QString refused = refusal(tableIndex, batch, r, latest);
            if (!refused.isEmpty()) {
                ++m_refused.rows[tableIndex];
                if (m_refusedRows.size() < kNamedRefusals)
                    m_refusedRows.append(refused);
                return;
            }
            qint64 faction = 0;
            if (keepOwn && numberAt(batch, r, factionColumn, &faction) && faction == own.faction)
                return;
            for (int c = 0; c < n; ++c)
                statement.bindUtf8(
                    c + 1, batch.isNull(r, c) ? nullptr : batch.value(r, c), batch.length(r, c));
            statement.step();
            statement.reset();
            const qint64 changed = statement.changes();
            written += changed;
            if (tableIndex == 0 && changed > 0) {
                qint64 level = 0;
                numberAt(batch, r, table.keyColumns[2], &level);
                m_changedLevels.insert(int(level));
            }
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
