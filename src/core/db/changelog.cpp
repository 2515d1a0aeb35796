// The preupdate hook is part of the system's SQLite library; its declarations are
// only visible with this switch.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1

#include "changelog.h"

#include "../base/errors.h"
#include "database.h"
#include "schema.h"

#include <QHash>
#include <cstring>
#include <memory>
#include <sqlite3.h>

namespace tolvimar {

namespace {

const char kMagic[] = "TVCL1";
enum : char { Updated = 'U', Removed = 'D' };
enum : char { NullValue = 0, IntegerValue = 1, FloatValue = 2, TextValue = 3, BlobValue = 4 };

void putVarint(QByteArray &out, quint64 v)
{
    while (v >= 0x80) {
        out.append(char(v | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

void putSigned(QByteArray &out, qint64 v)
{
    putVarint(out, (quint64(v) << 1) ^ quint64(v >> 63));
}

void putBytes(QByteArray &out, const char *data, int size)
{
    putVarint(out, quint64(size));
    out.append(data, size);
}

void putValue(QByteArray &out, sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        out.append(char(IntegerValue));
        putSigned(out, sqlite3_value_int64(v));
        break;
    case SQLITE_FLOAT: {
        out.append(char(FloatValue));
        const double d = sqlite3_value_double(v);
        out.append(reinterpret_cast<const char *>(&d), sizeof d);
        break;
    }
    case SQLITE_TEXT: {
        out.append(char(TextValue));
        const char *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
        putBytes(out, text, sqlite3_value_bytes(v));
        break;
    }
    case SQLITE_BLOB: {
        out.append(char(BlobValue));
        const int n = sqlite3_value_bytes(v);
        putBytes(out, static_cast<const char *>(sqlite3_value_blob(v)), n);
        break;
    }
    default:
        out.append(char(NullValue));
        break;
    }
}

bool sameValue(sqlite3_value *a, sqlite3_value *b)
{
    const int type = sqlite3_value_type(a);
    if (type != sqlite3_value_type(b))
        return false;
    switch (type) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(a) == sqlite3_value_int64(b);
    case SQLITE_FLOAT: {
        const double x = sqlite3_value_double(a), y = sqlite3_value_double(b);
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const void *pa = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_value_text(a))
                                             : sqlite3_value_blob(a);
        const void *pb = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_value_text(b))
                                             : sqlite3_value_blob(b);
        const int n = sqlite3_value_bytes(a);
        return n == sqlite3_value_bytes(b) && (n == 0 || std::memcmp(pa, pb, size_t(n)) == 0);
    }
    default:
        return true;
    }
}

// Reads a log front to back; every read checks the bounds, so a damaged log ends in
// an error instead of a read past its end.
class LogReader
{
public:
    explicit LogReader(const QByteArray &log)
        : m_data(log.constData())
        , m_size(log.size())
    {
    }
    bool atEnd() const { return m_pos >= m_size; }
    qsizetype pos() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }

    char byte()
    {
        need(1);
        return m_data[m_pos++];
    }
    quint64 varint()
    {
        quint64 v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const quint8 b = quint8(byte());
            v |= quint64(b & 0x7f) << shift;
            if (!(b & 0x80))
                return v;
        }
        damaged();
    }
    qint64 signedVarint()
    {
        const quint64 v = varint();
        return qint64(v >> 1) ^ -qint64(v & 1);
    }
    int count(int limit)
    {
        const quint64 n = varint();
        if (n > quint64(limit))
            damaged();
        return int(n);
    }
    QByteArray bytes()
    {
        const quint64 n = varint();
        if (n > quint64(m_size - m_pos))
            damaged();
        QByteArray b(m_data + m_pos, qsizetype(n));
        m_pos += qsizetype(n);
        return b;
    }
    double real()
    {
        need(sizeof(double));
        double d;
        std::memcpy(&d, m_data + m_pos, sizeof d);
        m_pos += sizeof d;
        return d;
    }
    [[noreturn]] static void damaged()
    {
        throw UserError(
            QStringLiteral("Die gespeicherten Änderungen des Imports sind beschädigt."));
    }

private:
    void need(qsizetype n) const
    {
        if (m_size - m_pos < n)
            damaged();
    }
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// Whether a stored value equals the value a statement binds for it. Numbers and NULL
// are compared as they are; a text may be changed by the column's affinity, so for
// it (and anything else) the stored new value decides.
enum Comparison { Same, Differs, Unsure };
Comparison compareWithNew(sqlite3_value *stored, const QVariant &bound)
{
    const int type = sqlite3_value_type(stored);
    const auto &data = bound.data_ptr();
    switch (data.type().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        if (data.is_null)
            return type == SQLITE_NULL ? Same : Differs;
        if (type != SQLITE_INTEGER)
            return Unsure;
        return sqlite3_value_int64(stored)
                == (data.type().id() == QMetaType::Int
                        ? qint64(*static_cast<const int *>(bound.constData()))
                        : *static_cast<const qlonglong *>(bound.constData()))
            ? Same
            : Differs;
    case QMetaType::UnknownType:
        return type == SQLITE_NULL ? Same : Differs;
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(bound.constData());
        if (data.is_null || text.isNull())
            return type == SQLITE_NULL ? Same : Differs;
        // A text stays a text where the stored value is one; other columns may turn it
        // into a number.
        if (type != SQLITE_TEXT)
            return Unsure;
        const char *utf8 = reinterpret_cast<const char *>(sqlite3_value_text(stored));
        return QAnyStringView::equal(
                   QUtf8StringView(utf8, sqlite3_value_bytes(stored)), QStringView(text))
            ? Same
            : Differs;
    }
    default:
        return Unsure;
    }
}

// Ends an update's record: without a changed column it is dropped.
void finishRecord(QByteArray &out, qsizetype start, qsizetype countAt, int changed)
{
    if (changed == 0) {
        out.truncate(start);
        return;
    }
    if (changed < 0x80) {
        out[countAt] = char(changed);
    } else {
        QByteArray count;
        putVarint(count, quint64(changed));
        out.replace(countAt, 1, count);
    }
}

[[noreturn]] void sqliteFailure(sqlite3 *db)
{
    throw UserError(QStringLiteral("Datenbankfehler beim Zurücknehmen eines Imports: %1")
                        .arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

// One prepared statement, finalised when it goes.
struct Statement
{
    Statement(sqlite3 *db, const QString &sql)
        : db(db)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
            sqliteFailure(db);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bindValue(int i, LogReader &in)
    {
        int rc = SQLITE_OK;
        switch (in.byte()) {
        case NullValue:
            rc = sqlite3_bind_null(stmt, i);
            break;
        case IntegerValue:
            rc = sqlite3_bind_int64(stmt, i, in.signedVarint());
            break;
        case FloatValue:
            rc = sqlite3_bind_double(stmt, i, in.real());
            break;
        case TextValue: {
            const QByteArray text = in.bytes();
            rc = sqlite3_bind_text(stmt, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case BlobValue: {
            const QByteArray blob = in.bytes();
            rc = sqlite3_bind_blob(stmt, i, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            LogReader::damaged();
        }
        if (rc != SQLITE_OK)
            sqliteFailure(db);
    }
    void run()
    {
        if (sqlite3_step(stmt) != SQLITE_DONE)
            sqliteFailure(db);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }

    sqlite3 *db;
    sqlite3_stmt *stmt = nullptr;
};

qint64 largestRowid(sqlite3 *db, const QString &table)
{
    Statement s(db, QStringLiteral("SELECT max(rowid) FROM %1").arg(sqlQuote(table)));
    if (sqlite3_step(s.stmt) != SQLITE_ROW)
        sqliteFailure(db);
    return sqlite3_column_int64(s.stmt, 0);
}

QStringList columnNames(sqlite3 *db, const QString &table)
{
    Statement s(db, QStringLiteral("SELECT name FROM pragma_table_info(?1) ORDER BY cid"));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(s.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QStringList names;
    while (sqlite3_step(s.stmt) == SQLITE_ROW)
        names.append(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.stmt, 0))));
    return names;
}

} // namespace

ChangeRecorder::ChangeRecorder(Database &db)
    : m_db(db)
    , m_handle(db.handle())
{
    for (const TableDef *table : schema::allTables()) {
        TableState t;
        t.name = table->name;
        t.nameUtf8 = table->name.toUtf8();
        t.columns = columnNames(m_handle, table->name);
        for (const FieldDef &f : table->fields)
            t.columnOfField.append(int(t.columns.indexOf(f.name)));
        t.firstNewRowid = largestRowid(m_handle, table->name) + 1;
        m_tableOfDef.insert(table, int(m_tables.size()));
        m_tables.append(t);
    }
    sqlite3_preupdate_hook(m_handle, &ChangeRecorder::preupdate, this);
    m_running = true;
    m_db.setChangeRecorder(this);
}

ChangeRecorder::ExpectedUpdate::ExpectedUpdate(
    Database &db, const TableDef &def, const QList<int> &fields, const QVector<QVariant> &values)
    : m_recorder(db.changeRecorder())
{
    if (!m_recorder)
        return;
    m_recorder->m_expected = {m_recorder->m_tableOfDef.value(&def, -1), &fields, &values};
}

ChangeRecorder::ExpectedUpdate::~ExpectedUpdate()
{
    if (m_recorder)
        m_recorder->m_expected = {};
}

ChangeRecorder::~ChangeRecorder()
{
    stop();
}

void ChangeRecorder::stop()
{
    if (!m_running)
        return;
    sqlite3_preupdate_hook(m_handle, nullptr, nullptr);
    if (m_db.changeRecorder() == this)
        m_db.setChangeRecorder(nullptr);
    m_running = false;
}

QByteArray ChangeRecorder::finish()
{
    stop();
    QByteArray log(kMagic, sizeof kMagic - 1);
    bool added = false;
    putVarint(log, quint64(m_tables.size()));
    for (const TableState &t : m_tables) {
        putBytes(log, t.nameUtf8.constData(), int(t.nameUtf8.size()));
        putVarint(log, quint64(t.columns.size()));
        for (const QString &c : t.columns) {
            const QByteArray name = c.toUtf8();
            putBytes(log, name.constData(), int(name.size()));
        }
        // The rows added: from the first new rowid up to the largest one now.
        const qint64 last = largestRowid(m_handle, t.name);
        added = added || last >= t.firstNewRowid;
        putSigned(log, t.firstNewRowid);
        putSigned(log, qMax(last, t.firstNewRowid - 1));
    }
    if (!added && m_records.isEmpty())
        return QByteArray();
    log += m_records;
    m_records.clear();
    return log;
}

int ChangeRecorder::tableIndex(const char *tableName)
{
    // One table is written many times in a row; its name is checked first.
    if (m_lastTable >= 0 && std::strcmp(m_tables[m_lastTable].nameUtf8.constData(), tableName) == 0)
        return m_lastTable;
    for (int i = 0; i < m_tables.size(); ++i) {
        if (std::strcmp(m_tables[i].nameUtf8.constData(), tableName) == 0)
            return m_lastTable = i;
    }
    return -1;
}

void ChangeRecorder::preupdate(void *self, sqlite3 *, int op, const char *dbName,
    const char *tableName, qint64 oldRowid, qint64 newRowid)
{
    auto *r = static_cast<ChangeRecorder *>(self);
    if (std::strcmp(dbName, "main") != 0)
        return;
    const int table = r->tableIndex(tableName);
    if (table < 0)
        return;
    const qint64 firstNew = r->m_tables[table].firstNewRowid;
    switch (op) {
    case SQLITE_INSERT:
        // Rows added take rowids past the largest; the log keeps that range only.
        // A rowid below it is one that a removal in this transaction set free: the
        // removal's record brings the earlier row back over it.
        break;
    case SQLITE_UPDATE:
        if (oldRowid >= firstNew)
            break;
        if (oldRowid != newRowid)
            r->recordDelete(table, oldRowid);
        else if (r->m_expected.table == table)
            r->recordExpectedUpdate(table, oldRowid);
        else
            r->recordUpdate(table, oldRowid);
        break;
    case SQLITE_DELETE:
        if (oldRowid < firstNew)
            r->recordDelete(table, oldRowid);
        break;
    default:
        break;
    }
}

void ChangeRecorder::recordUpdate(int table, qint64 rowid)
{
    const int n = sqlite3_preupdate_count(m_handle);
    int changed = 0;
    QByteArray &out = m_records;
    const qsizetype start = out.size();
    out.append(char(Updated));
    putVarint(out, quint64(table));
    putSigned(out, rowid);
    const qsizetype countAt = out.size();
    out.append(char(0)); // the number of columns, filled in below
    for (int i = 0; i < n; ++i) {
        sqlite3_value *before = nullptr, *after = nullptr;
        if (sqlite3_preupdate_old(m_handle, i, &before) != SQLITE_OK
            || sqlite3_preupdate_new(m_handle, i, &after) != SQLITE_OK)
            continue;
        if (sameValue(before, after))
            continue;
        putVarint(out, quint64(i));
        putValue(out, before);
        ++changed;
    }
    finishRecord(out, start, countAt, changed);
}

void ChangeRecorder::recordExpectedUpdate(int table, qint64 rowid)
{
    const QVector<int> &columnOf = m_tables[table].columnOfField;
    const QVector<QVariant> &values = *m_expected.values;
    int changed = 0;
    QByteArray &out = m_records;
    const qsizetype start = out.size();
    out.append(char(Updated));
    putVarint(out, quint64(table));
    putSigned(out, rowid);
    const qsizetype countAt = out.size();
    out.append(char(0)); // the number of columns, filled in below
    for (int field : *m_expected.fields) {
        const int column = columnOf.value(field, -1);
        sqlite3_value *before = nullptr;
        if (column < 0 || sqlite3_preupdate_old(m_handle, column, &before) != SQLITE_OK)
            continue;
        switch (compareWithNew(before, values.at(field))) {
        case Same:
            continue;
        case Differs:
            break;
        case Unsure: {
            sqlite3_value *after = nullptr;
            if (sqlite3_preupdate_new(m_handle, column, &after) == SQLITE_OK
                && sameValue(before, after))
                continue;
            break;
        }
        }
        putVarint(out, quint64(column));
        putValue(out, before);
        ++changed;
    }
    finishRecord(out, start, countAt, changed);
}

void ChangeRecorder::recordDelete(int table, qint64 rowid)
{
    const int n = sqlite3_preupdate_count(m_handle);
    QByteArray &out = m_records;
    out.append(char(Removed));
    putVarint(out, quint64(table));
    putSigned(out, rowid);
    putVarint(out, quint64(n));
    for (int i = 0; i < n; ++i) {
        sqlite3_value *before = nullptr;
        putVarint(out, quint64(i));
        if (sqlite3_preupdate_old(m_handle, i, &before) == SQLITE_OK)
            putValue(out, before);
        else
            out.append(char(NullValue));
    }
}

void revertChanges(Database &db, const QByteArray &log)
{
    if (log.isEmpty())
        return;
    sqlite3 *handle = db.handle();
    LogReader in(log);
    if (in.byte() != kMagic[0] || in.byte() != kMagic[1] || in.byte() != kMagic[2]
        || in.byte() != kMagic[3] || in.byte() != kMagic[4])
        LogReader::damaged();
    struct Table
    {
        QString name;
        QStringList columns;
    };
    QList<Table> tables;
    const int tableCount = in.count(1000);
    for (int t = 0; t < tableCount; ++t) {
        Table table;
        table.name = QString::fromUtf8(in.bytes());
        const int columns = in.count(100000);
        for (int c = 0; c < columns; ++c)
            table.columns.append(QString::fromUtf8(in.bytes()));
        const qint64 first = in.signedVarint();
        const qint64 last = in.signedVarint();
        if (last >= first) {
            Statement remove(handle,
                QStringLiteral("DELETE FROM %1 WHERE rowid BETWEEN ?1 AND ?2")
                    .arg(sqlQuote(table.name)));
            sqlite3_bind_int64(remove.stmt, 1, first);
            sqlite3_bind_int64(remove.stmt, 2, last);
            remove.run();
        }
        tables.append(table);
    }

    // The records are taken back last first, so that a row changed twice ends with the
    // values it had before the first change.
    QList<qsizetype> records;
    while (!in.atEnd()) {
        records.append(in.pos());
        in.byte();
        in.count(tableCount);
        in.signedVarint();
        const int n = int(in.varint());
        for (int i = 0; i < n; ++i) {
            in.varint();
            switch (in.byte()) {
            case IntegerValue:
                in.signedVarint();
                break;
            case FloatValue:
                in.real();
                break;
            case TextValue:
            case BlobValue:
                in.bytes();
                break;
            case NullValue:
                break;
            default:
                LogReader::damaged();
            }
        }
    }

    QHash<QString, std::shared_ptr<Statement>> statements;
    auto statement = [&](const QString &sql) {
        std::shared_ptr<Statement> &s = statements[sql];
        if (!s)
            s = std::make_shared<Statement>(handle, sql);
        return s;
    };
    for (qsizetype r = records.size() - 1; r >= 0; --r) {
        in.seek(records[r]);
        const char op = in.byte();
        const Table &table = tables[in.count(tableCount - 1)];
        const qint64 rowid = in.signedVarint();
        const int n = in.count(int(table.columns.size()));
        // First the column numbers, then the values bound in that order.
        const qsizetype valuesAt = in.pos();
        QStringList columns;
        for (int i = 0; i < n; ++i) {
            columns.append(sqlQuote(table.columns.value(in.count(int(table.columns.size()) - 1))));
            switch (in.byte()) {
            case IntegerValue:
                in.signedVarint();
                break;
            case FloatValue:
                in.real();
                break;
            case TextValue:
            case BlobValue:
                in.bytes();
                break;
            default:
                break;
            }
        }
        in.seek(valuesAt);
        std::shared_ptr<Statement> s;
        if (op == Updated) {
            QStringList assignments;
            for (int i = 0; i < n; ++i)
                assignments.append(columns[i] + QStringLiteral(" = ?") + QString::number(i + 1));
            s = statement(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                              .arg(sqlQuote(table.name), assignments.join(u", "))
                              .arg(n + 1));
        } else if (op == Removed) {
            QStringList places;
            for (int i = 0; i <= n; ++i)
                places.append(u'?' + QString::number(i + 1));
            s = statement(QStringLiteral("INSERT OR REPLACE INTO %1 (rowid, %2) VALUES (%3)")
                              .arg(sqlQuote(table.name), columns.join(u", "), places.join(u", ")));
        } else {
            LogReader::damaged();
        }
        const int rowidPlace = op == Updated ? n + 1 : 1;
        const int firstValuePlace = op == Updated ? 1 : 2;
        for (int i = 0; i < n; ++i) {
            in.varint();
            s->bindValue(firstValuePlace + i, in);
        }
        if (sqlite3_bind_int64(s->stmt, rowidPlace, rowid) != SQLITE_OK)
            sqliteFailure(handle);
        s->run();
    }
}

} // namespace tolvimar
