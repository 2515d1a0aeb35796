#include "allianceserver.h"

namespace tolvimar {

using shared::quotedList;

namespace {

// PostgreSQL's names of the column types, as format_type gives them.
const QString kInteger = QStringLiteral("integer");
const QString kText = QStringLiteral("text");
const QString kTimestamp = QStringLiteral("timestamp with time zone");

// Serialises the creation of the tables between members who connect at once.
constexpr qint64 kPrepareLock = 0x546f6c76696d6172; // "Tolvimar"

QByteArray sql(const QString &text)
{
    return text.toUtf8();
}

QList<std::pair<QString, QString>> expectedColumns(const SharedTable &t)
{
    QList<std::pair<QString, QString>> columns;
    for (int i = 0; i < t.columns.size(); ++i)
        columns.append({t.columns[i], t.type(i) == FieldType::Int ? kInteger : kText});
    columns.append({shared::kSender, kInteger});
    columns.append({shared::kUser, kText});
    columns.append({shared::kSent, kTimestamp});
    return columns;
}

QString createStatement(const SharedTable &t)
{
    QStringList columns;
    for (const auto &[name, type] : expectedColumns(t)) {
        QString column = sqlQuote(name) + u' ' + type;
        if (name == shared::kUser)
            column += QStringLiteral(" NOT NULL DEFAULT session_user");
        else if (name == shared::kSent)
            column += QStringLiteral(" NOT NULL DEFAULT now()");
        columns.append(column);
    }
    columns.append(QStringLiteral("PRIMARY KEY (%1)").arg(quotedList(t.keyNames())));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlQuote(t.name()), columns.join(u", "));
}

} // namespace

AllianceServer::AllianceServer(
    const QString &conninfo, const QString &password, const PgConnection::Options &options)
    : m_connection(conninfo, password, options)
{
}

void AllianceServer::begin(bool readOnly)
{
    // One snapshot for the keys and the rows read after them.
    m_connection.exec(readOnly ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN");
}

void AllianceServer::commit()
{
    m_connection.exec("COMMIT");
}

void AllianceServer::foreign(const QString &table, const QString &reason)
{
    throw ShareError(ShareError::Kind::Foreign,
        QStringLiteral(
            "Die Datenbank des Allianzservers (%1) enthält eine Tabelle \"%2\", die "
            "nicht zu einer Allianzkarte von Tolvimar gehört: %3. Bitte für die "
            "Allianzkarte eine eigene Datenbank anlegen. Am Server wurde nichts geändert.")
            .arg(where(), table, reason));
}

void AllianceServer::checkTable(const QString &name,
    const QList<std::pair<QString, QString>> &columns, const QStringList &key, bool *exists)
{
    PgParams params;
    params.add(name);
    const PgResult found = m_connection.exec(
        "SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_attribute a "
        "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped",
        params);
    *exists = found.rows() > 0;
    if (!*exists)
        return;
    QHash<QString, QString> types;
    for (int r = 0; r < found.rows(); ++r)
        types.insert(found.text(r, 0), found.text(r, 1));
    for (const auto &[column, type] : columns) {
        const auto it = types.constFind(column);
        if (it == types.constEnd())
            foreign(name, QStringLiteral("die Spalte \"%1\" fehlt").arg(column));
        if (*it != type)
            foreign(name,
                QStringLiteral("die Spalte \"%1\" hat den Typ %2 statt %3").arg(column, *it, type));
    }
    if (key.isEmpty())
        return;
    const PgResult primary = m_connection.exec(
        "SELECT a.attname FROM pg_index i, unnest(i.indkey::int2[]) WITH ORDINALITY k(n, o), "
        "pg_attribute a WHERE i.indrelid = to_regclass($1) AND i.indisprimary "
        "AND a.attrelid = i.indrelid AND a.attnum = k.n ORDER BY k.o",
        params);
    QStringList primaryKey;
    for (int r = 0; r < primary.rows(); ++r)
        primaryKey.append(primary.text(r, 0));
    if (primaryKey != key)
        foreign(name,
            QStringLiteral("ihr Schlüssel ist (%1) statt (%2)")
                .arg(primaryKey.join(QStringLiteral(", ")), key.join(QStringLiteral(", "))));
}

void AllianceServer::prepare(GameType type)
{
    begin(false);
    PgParams lock;
    lock.add(kPrepareLock);
    m_connection.exec("SELECT pg_advisory_xact_lock($1)", lock);

    bool marked = false;
    checkTable(shared::kMarkTable,
        {{QStringLiteral("Format"), kInteger}, {QStringLiteral("Spieltyp"), kText}}, {}, &marked);
    QList<bool> exists;
    for (const SharedTable &t : shared::tables()) {
        bool e = false;
        checkTable(t.name(), expectedColumns(t), t.keyNames(), &e);
        exists.append(e);
        if (e && !marked)
            foreign(t.name(),
                QStringLiteral("die Datenbank trägt nicht die Kennzeichnung \"%1\" einer "
                               "Allianzkarte")
                    .arg(shared::kMarkTable));
    }

    const QString game = gameTypeName(type);
    if (marked) {
        const PgResult mark
            = m_connection.exec(sql(QStringLiteral("SELECT \"Format\", \"Spieltyp\" FROM %1")
                                        .arg(sqlQuote(shared::kMarkTable))));
        if (mark.rows() > 0 && mark.integer(0, 0) > shared::kFormat)
            throw ShareError(ShareError::Kind::Foreign,
                QStringLiteral("Die Allianzkarte auf dem Server (%1) hat ein neueres Format (%2) "
                               "als dieses Programm kennt (%3). Bitte Tolvimar aktualisieren; am "
                               "Server wurde nichts geändert.")
                    .arg(where())
                    .arg(mark.integer(0, 0))
                    .arg(shared::kFormat));
        if (mark.rows() > 0 && mark.text(0, 1) != game)
            throw ShareError(ShareError::Kind::Foreign,
                QStringLiteral("Die Allianzkarte auf dem Server (%1) gehört zu einem %2-Spiel, "
                               "dieses Spiel ist ein %3-Spiel. Am Server wurde nichts geändert.")
                    .arg(where(), mark.text(0, 1), game));
        marked = mark.rows() > 0;
    } else {
        m_connection.exec(sql(QStringLiteral("CREATE TABLE %1 (\"Format\" integer NOT NULL, "
                                             "\"Spieltyp\" text NOT NULL)")
                                  .arg(sqlQuote(shared::kMarkTable))));
    }
    if (!marked) {
        PgParams values;
        values.add(qint64(shared::kFormat));
        values.add(game);
        m_connection.exec(
            sql(QStringLiteral("INSERT INTO %1 (\"Format\", \"Spieltyp\") VALUES ($1, $2)")
                    .arg(sqlQuote(shared::kMarkTable))),
            values);
    }
    for (int i = 0; i < shared::tables().size(); ++i) {
        if (!exists[i])
            m_connection.exec(sql(createStatement(shared::tables()[i])));
    }
    commit();
}

Manifest AllianceServer::manifest(const SharedTable &table)
{
    QStringList columns;
    for (int k : table.keyColumns)
        columns.append(table.columns[k]);
    columns.append(table.columns[table.dateColumn]);
    const PgResult result = m_connection.exec(
        sql(QStringLiteral("SELECT %1 FROM %2").arg(quotedList(columns), sqlQuote(table.name()))));
    Manifest manifest;
    manifest.reserve(result.rows());
    const int keys = int(table.keyColumns.size());
    for (int r = 0; r < result.rows(); ++r) {
        RowKey key;
        key.a = qint32(result.integer(r, 0));
        key.b = keys > 1 ? qint32(result.integer(r, 1)) : 0;
        key.c = keys > 2 ? qint32(result.integer(r, 2)) : 0;
        manifest.insert(key, result.isNull(r, keys) ? kNoDate : result.integer(r, keys));
    }
    return manifest;
}

namespace {

// Rows arrive in a temporary table of the transaction and go into the map in one
// statement: far faster than statements of many rows of values.
QString uploadTable(const SharedTable &table)
{
    return sqlQuote(QStringLiteral("eingang_") + table.name());
}

} // namespace

void AllianceServer::lockForPush()
{
    QStringList names;
    for (const SharedTable &t : shared::tables())
        names.append(sqlQuote(t.name()));
    m_connection.exec(sql(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE")
                              .arg(names.join(QStringLiteral(", ")))));
}

void AllianceServer::startUpload(const SharedTable &table, Upload kind)
{
    if (kind == Upload::New) {
        m_connection.startCopy(sql(QStringLiteral("COPY %1 (%2, %3) FROM STDIN")
                                       .arg(sqlQuote(table.name()), quotedList(table.columns),
                                           sqlQuote(shared::kSender))));
        return;
    }
    m_connection.exec(
        sql(QStringLiteral("CREATE TEMPORARY TABLE %1 ON COMMIT DROP AS SELECT %2 "
                           "FROM %3 WITH NO DATA")
                .arg(uploadTable(table), quotedList(table.columns), sqlQuote(table.name()))));
    m_connection.startCopy(sql(QStringLiteral("COPY %1 (%2) FROM STDIN")
                                   .arg(uploadTable(table), quotedList(table.columns))));
}

void AllianceServer::uploadData(const QByteArray &rows)
{
    m_connection.putCopyData(rows);
}

qint64 AllianceServer::finishUpload(const SharedTable &table, Upload kind, int sender)
{
    const PgResult copied = m_connection.endCopy();
    if (kind == Upload::New)
        return copied.affectedRows();
    const QString name = sqlQuote(table.name());
    QStringList updates = table.takeIncoming();
    updates.append(QStringLiteral("%1 = EXCLUDED.%1").arg(sqlQuote(shared::kSender)));
    updates.append(QStringLiteral("%1 = session_user").arg(sqlQuote(shared::kUser)));
    updates.append(QStringLiteral("%1 = now()").arg(sqlQuote(shared::kSent)));
    const QString date = sqlQuote(table.columns[table.dateColumn]);
    PgParams params;
    params.add(qint64(sender));
    const PgResult result = m_connection.exec(
        sql(QStringLiteral("INSERT INTO %1 (%2, %3) SELECT %2, $1::integer FROM %4 ON CONFLICT "
                           "(%5) DO UPDATE SET %6 WHERE COALESCE(%1.%7, -2147483648) < "
                           "COALESCE(EXCLUDED.%7, -2147483648)")
                .arg(name, quotedList(table.columns), sqlQuote(shared::kSender), uploadTable(table),
                    quotedList(table.keyNames()), updates.join(u", "), date)),
        params);
    m_connection.exec(sql(QStringLiteral("DROP TABLE %1").arg(uploadTable(table))));
    return result.affectedRows();
}

void AllianceServer::appendCopyField(QByteArray &row, const char *utf8, int bytes, bool first)
{
    if (!first)
        row += '\t';
    if (!utf8) {
        row += "\\N";
        return;
    }
    for (int i = 0; i < bytes; ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
            row += "\\\\";
            break;
        case '\t':
            row += "\\t";
            break;
        case '\n':
            row += "\\n";
            break;
        case '\r':
            row += "\\r";
            break;
        default:
            row += c;
        }
    }
}

void AllianceServer::fetch(const SharedTable &table, const QList<RowKey> *keys,
    const std::function<void(const PgResult &batch, int row)> &onRow)
{
    QString text
        = QStringLiteral("SELECT %1 FROM %2 AS t")
              .arg(quotedList(table.columns, QStringLiteral("t.")), sqlQuote(table.name()));
    PgParams params;
    if (keys) {
        // The wanted keys go as one array per key field; the server joins them.
        const QStringList key = table.keyNames();
        QStringList arrays;
        for (int k = 0; k < key.size(); ++k) {
            QByteArray array = "{";
            array.reserve(keys->size() * 8 + 2);
            for (qsizetype i = 0; i < keys->size(); ++i) {
                const RowKey &rowKey = keys->at(i);
                if (i > 0)
                    array += ',';
                array += QByteArray::number(k == 0 ? rowKey.a : k == 1 ? rowKey.b : rowKey.c);
            }
            array += '}';
            params.add(array);
            arrays.append(u'$' + QString::number(k + 1) + QStringLiteral("::integer[]"));
        }
        text += QStringLiteral(" JOIN unnest(%1) AS w(%2) USING (%2)")
                    .arg(arrays.join(QStringLiteral(", ")), quotedList(key));
    }
    m_connection.exec(sql(QStringLiteral("DECLARE abholung NO SCROLL CURSOR FOR ") + text), params);
    const QByteArray next = "FETCH FORWARD 5000 FROM abholung";
    m_connection.post(next);
    for (;;) {
        const PgResult batch = m_connection.awaitResult();
        if (batch.rows() == 0)
            break;
        m_connection.post(next);
        for (int r = 0; r < batch.rows(); ++r)
            onRow(batch, r);
    }
    m_connection.exec("CLOSE abholung");
}

} // namespace tolvimar
