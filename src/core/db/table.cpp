#include "table.h"

#include "../base/errors.h"
#include "changelog.h"
#include "database.h"

#include <QDir>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>

namespace tolvimar {

Table::Table(Database &db, const TableDef &def)
    : m_db(db)
    , m_def(def)
{
    QStringList columns;
    for (int i = 0; i < def.fields.size(); ++i) {
        m_fieldIndex.insert(def.fields[i].name, i);
        columns.append(sqlQuote(def.fields[i].name));
    }
    for (const QStringList &names : QList<QStringList> {def.key} + def.indexes) {
        for (const QString &name : names) {
            const int f = field(name);
            if (!m_indexedFields.contains(f))
                m_indexedFields.append(f);
        }
    }
    m_columns = columns.join(u", ");
    QStringList order;
    for (const QString &k : def.key)
        order.append(sqlQuote(k));
    m_keyOrder = order.join(u", ");
    m_values.resize(def.fields.size());
    m_loaded.resize(def.fields.size());
    m_dirty.fill('0', def.fields.size());
}

Table::~Table() = default;

int Table::field(QStringView name) const
{
    // A raw view of the name: looking up must not copy it.
    const QString key = QString::fromRawData(name.data(), name.size());
    const auto it = m_fieldIndex.constFind(key);
    if (it == m_fieldIndex.constEnd())
        throw std::logic_error("unknown field " + name.toString().toStdString() + " in table "
            + m_def.name.toStdString());
    return *it;
}

void Table::setFilter(const QStringList &fields, const QVariantList &values)
{
    for (const QString &f : fields)
        field(f);
    m_filterFields = fields;
    m_filterValues = values;
    m_findStatements.clear();
    m_partialReads.clear();
}

void Table::setGameFilter(int game)
{
    setFilter({QStringLiteral("Spiel")}, {game});
}

void Table::clearFilter()
{
    m_filterFields.clear();
    m_filterValues.clear();
    m_findStatements.clear();
    m_partialReads.clear();
}

SqliteStatement Table::prepare(const QString &sql) const
{
    try {
        return SqliteStatement(m_db.handle(), sql);
    } catch (const SqliteError &e) {
        fail(e);
    }
}

SqliteStatement &Table::statement(
    Statements &cache, const QByteArray &key, const std::function<QString()> &sql)
{
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<SqliteStatement>(prepare(sql())));
    return **it;
}

SqliteStatement &Table::findStatement(const QStringList &fields)
{
    auto it = m_findStatements.find(fields);
    if (it == m_findStatements.end()) {
        it = m_findStatements.insert(fields,
            std::make_shared<SqliteStatement>(
                prepare(selectSql(fields, QStringLiteral(" LIMIT 1")))));
    }
    return **it;
}

QString Table::selectSql(const QStringList &fields, const QString &suffix) const
{
    QStringList where;
    for (const QString &f : m_filterFields + fields)
        where.append(sqlQuote(f) + QStringLiteral(" = ?"));
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(m_columns, sqlQuote(m_def.name));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    return sql + QStringLiteral(" ORDER BY ") + m_keyOrder + suffix;
}

void Table::bindWhere(SqliteStatement &statement, const QVariantList &values) const
{
    int i = 0;
    for (const QVariant &v : m_filterValues)
        statement.bind(i++, v);
    for (const QVariant &v : values)
        statement.bind(i++, v);
}

void Table::load(const SqliteStatement &statement)
{
    m_rowId = statement.columnInt64(0);
    QVariant *values = m_values.data();
    for (int i = 0; i < m_values.size(); ++i)
        values[i] = statement.column(i + 1);
    m_loadedIsCurrent = true;
    m_partial = false;
    m_dirty.fill('0');
    m_hasCurrent = true;
    m_state = State::Browse;
}

bool Table::find(const QStringList &fields, const QVariantList &values)
{
    Q_ASSERT(fields.size() == values.size());
    settleInsert();
    SqliteStatement &query = findStatement(fields);
    bool found = false;
    try {
        bindWhere(query, values);
        m_state = State::Browse;
        m_dirty.fill('0');
        found = query.step();
        if (found)
            load(query);
        else
            m_hasCurrent = false;
    } catch (const SqliteError &e) {
        fail(e);
    }
    query.reset();
    return found;
}

bool Table::findKey(const QVariantList &values)
{
    return find(m_def.key.mid(0, values.size()), values);
}

bool Table::findKeyReading(const QVariantList &values, const QList<int> &wanted)
{
    settleInsert();
    // The fields of the key and of every index are read too: an update can then leave
    // out those that did not change, and SQLite rewrites an index entry only for a
    // column that the update sets.
    QByteArray mask(m_def.fields.size(), '0');
    for (int f : wanted)
        mask[f] = '1';
    mask += QByteArray::number(values.size());
    auto it = m_partialReads.find(mask);
    if (it == m_partialReads.end()) {
        PartialRead read;
        read.fields = wanted;
        for (int f : m_indexedFields) {
            if (mask[f] == '0')
                read.fields.append(f);
        }
        QStringList columns, where;
        for (int f : read.fields)
            columns.append(sqlQuote(m_def.fields[f].name));
        for (const QString &k : m_filterFields + m_def.key.mid(0, values.size()))
            where.append(sqlQuote(k) + QStringLiteral(" = ?"));
        QString sql = QStringLiteral("SELECT rowid");
        if (!columns.isEmpty())
            sql += QStringLiteral(", ") + columns.join(u", ");
        sql += QStringLiteral(" FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
                   .arg(sqlQuote(m_def.name), where.join(QStringLiteral(" AND ")), m_keyOrder);
        read.statement = std::make_shared<SqliteStatement>(prepare(sql));
        it = m_partialReads.insert(mask, std::move(read));
    }
    SqliteStatement &query = *it->statement;
    const QList<int> &fields = it->fields;
    bool found = false;
    try {
        bindWhere(query, values);
        m_state = State::Browse;
        m_dirty.fill('0');
        found = query.step();
        if (found) {
            m_rowId = query.columnInt64(0);
            for (int j = 0; j < fields.size(); ++j)
                m_values[fields[j]] = query.column(j + 1);
            m_readable.fill('0', m_def.fields.size());
            for (int f : fields)
                m_readable[f] = '1';
            m_loadedIsCurrent = true;
            m_partial = true;
            m_hasCurrent = true;
        } else {
            m_hasCurrent = false;
            m_partial = false;
        }
    } catch (const SqliteError &e) {
        fail(e);
    }
    query.reset();
    return found;
}

bool Table::editOrAppendReading(const QVariantList &keyValues, const QList<int> &fields)
{
    return editFoundOrAppend(findKeyReading(keyValues, fields), keyValues);
}

bool Table::editFoundOrAppend(bool found, const QVariantList &keyValues)
{
    if (found) {
        edit();
        return true;
    }
    append();
    for (int i = 0; i < keyValues.size(); ++i)
        setValue(field(m_def.key[i]), keyValues[i]);
    return false;
}

void Table::unreadField(int field) const
{
    throw std::logic_error("field " + m_def.fields[field].name.toStdString() + " of table "
        + m_def.name.toStdString() + " was not read");
}

bool Table::first(const QStringList &fields, const QVariantList &values)
{
    m_walk = std::make_unique<SqliteStatement>(prepare(selectSql(fields, QString())));
    try {
        bindWhere(*m_walk, values);
    } catch (const SqliteError &e) {
        fail(e);
    }
    return next();
}

bool Table::next()
{
    settleInsert();
    bool found = false;
    if (m_walk) {
        try {
            found = m_walk->step();
        } catch (const SqliteError &e) {
            m_walk.reset();
            m_hasCurrent = false;
            m_state = State::Browse;
            fail(e);
        }
    }
    if (found) {
        load(*m_walk);
        return true;
    }
    m_walk.reset();
    m_hasCurrent = false;
    m_state = State::Browse;
    return false;
}

// The row as loaded or posted is kept for cancel() and for finding what changed.
// Until a field changes it is the current row itself; only the first change after
// a load copies it aside, so rows that are appended and posted are never copied.
void Table::detachLoaded()
{
    if (!m_loadedIsCurrent)
        return;
    if (m_partial) {
        // Only the fields that were read are worth keeping.
        const char *readable = m_readable.constData();
        for (qsizetype i = 0; i < m_values.size(); ++i) {
            if (readable[i] == '1')
                m_loaded[i] = m_values[i];
        }
    } else {
        std::copy(m_values.cbegin(), m_values.cend(), m_loaded.begin());
    }
    m_loadedIsCurrent = false;
}

const QVariant &Table::nullValue()
{
    static const QVariant null;
    return null;
}

// Empties the fields an appended row did not set, before the row leaves the Insert
// state by any way but cancel().
void Table::settleInsert()
{
    if (m_state != State::Insert)
        return;
    const char *dirty = m_dirty.constData();
    QVariant *values = m_values.data();
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (dirty[i] != '1' && values[i].isValid())
            values[i].clear();
    }
}

void Table::clearValues()
{
    if (m_loadedIsCurrent) {
        m_values.swap(m_loaded);
        m_loadedIsCurrent = false;
    }
    for (QVariant &v : m_values) {
        if (v.isValid())
            v.clear();
    }
}

void Table::append()
{
    // The loaded row stays for cancel(); the buffer's old values are masked by the
    // dirty flags until settleInsert().
    if (m_loadedIsCurrent) {
        m_values.swap(m_loaded);
        m_loadedIsCurrent = false;
    }
    m_dirty.fill('0');
    m_rowId = -1;
    m_partial = false;
    m_state = State::Insert;
}

void Table::edit()
{
    if (!m_hasCurrent)
        throw std::logic_error("edit without a current row in table " + m_def.name.toStdString());
    settleInsert();
    m_state = State::Edit;
}

bool Table::editOrAppend(const QVariantList &keyValues)
{
    return editFoundOrAppend(findKey(keyValues), keyValues);
}

void Table::setValue(int field, const QVariant &value)
{
    if (m_state == State::Browse)
        throw std::logic_error(
            "setValue outside edit or append in table " + m_def.name.toStdString());
    detachLoaded();
    m_values[field] = value;
    m_dirty[field] = '1';
}

void Table::setValues(const QList<int> &fields, const QVariant &value)
{
    if (m_state == State::Browse)
        throw std::logic_error(
            "setValue outside edit or append in table " + m_def.name.toStdString());
    detachLoaded();
    QVariant *values = m_values.data();
    char *dirty = m_dirty.data();
    // Often the field holds that very value already (the buffer's previous row).
    const int type = SqliteStatement::typeOf(value);
    const bool plainInt = type == QMetaType::Int && !SqliteStatement::isNullNumber(value);
    const int number = plainInt ? *static_cast<const int *>(value.constData()) : 0;
    for (int field : fields) {
        QVariant &v = values[field];
        const int current = SqliteStatement::typeOf(v);
        const bool same = (type == QMetaType::UnknownType && current == QMetaType::UnknownType)
            || (plainInt && current == QMetaType::Int && !SqliteStatement::isNullNumber(v)
                && *static_cast<const int *>(v.constData()) == number);
        if (!same)
            v = value;
        dirty[field] = '1';
    }
}

void Table::setValue(int field, QVariant &&value)
{
    if (m_state == State::Browse)
        throw std::logic_error(
            "setValue outside edit or append in table " + m_def.name.toStdString());
    detachLoaded();
    m_values[field] = std::move(value);
    m_dirty[field] = '1';
}

void Table::post()
{
    if (m_state == State::Browse)
        return;
    settleInsert();
    QList<int> &dirty = m_dirtyFields;
    dirty.resize(m_dirty.size());
    int *out = dirty.data();
    qsizetype count = 0;
    const char *flags = m_dirty.constData();
    for (int i = 0; i < m_dirty.size(); ++i) {
        if (flags[i] == '1')
            out[count++] = i;
    }
    dirty.resize(count);
    try {
        if (m_state == State::Insert) {
            SqliteStatement &query = statement(m_insertStatements, m_dirty, [&] {
                QStringList names, marks;
                for (int i : dirty) {
                    names.append(sqlQuote(m_def.fields[i].name));
                    marks.append(QStringLiteral("?"));
                }
                if (names.isEmpty())
                    return QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                        .arg(sqlQuote(m_def.name));
                return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(sqlQuote(m_def.name), names.join(u", "), marks.join(u", "));
            });
            for (int j = 0; j < dirty.size(); ++j)
                query.bind(j, m_values[dirty[j]]);
            query.step();
            query.reset();
            m_rowId = sqlite3_last_insert_rowid(m_db.handle());
        } else if (!dirty.isEmpty()) {
            update(dirty);
        }
    } catch (const SqliteError &e) {
        fail(e);
    }
    if (m_partial) {
        for (qsizetype i = 0; i < m_dirty.size(); ++i) {
            if (m_dirty[i] == '1')
                m_readable[i] = '1';
        }
    }
    m_loadedIsCurrent = true;
    m_dirty.fill('0');
    m_hasCurrent = true;
    m_state = State::Browse;
}

namespace {

// Whether binding the new value would store what the row already holds: both SQL
// NULL, or the same type and value (integers of any width alike). Anything else
// counts as a change.
bool isIntegerType(int type)
{
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt
        || type == QMetaType::Bool;
}

// Read directly: QVariant's own conversion goes through the meta type system.
qint64 integerOf(const QVariant &v)
{
    switch (SqliteStatement::typeOf(v)) {
    case QMetaType::Int:
        return *static_cast<const int *>(v.constData());
    case QMetaType::LongLong:
        return *static_cast<const qlonglong *>(v.constData());
    case QMetaType::UInt:
        return *static_cast<const uint *>(v.constData());
    default:
        return *static_cast<const bool *>(v.constData()) ? 1 : 0;
    }
}

bool sameStoredValue(const QVariant &a, const QVariant &b)
{
    const int ta = SqliteStatement::typeOf(a);
    const int tb = SqliteStatement::typeOf(b);
    if (isIntegerType(ta) && isIntegerType(tb)) {
        const bool aNull = SqliteStatement::isNullNumber(a);
        const bool bNull = SqliteStatement::isNullNumber(b);
        if (aNull || bNull)
            return aNull && bNull;
        return integerOf(a) == integerOf(b);
    }
    const bool aNull = SqliteStatement::isNullValue(a);
    const bool bNull = SqliteStatement::isNullValue(b);
    if (aNull || bNull)
        return aNull && bNull;
    if (ta != tb)
        return false;
    switch (ta) {
    case QMetaType::QString:
        return *static_cast<const QString *>(a.constData())
            == *static_cast<const QString *>(b.constData());
    case QMetaType::QByteArray:
        return *static_cast<const QByteArray *>(a.constData())
            == *static_cast<const QByteArray *>(b.constData());
    case QMetaType::Double:
        return *static_cast<const double *>(a.constData())
            == *static_cast<const double *>(b.constData());
    default:
        return false;
    }
}

// Update statements for the changed fields are kept up to this many shapes; past
// it, rows are written with the statement for all fields set.
constexpr qsizetype kMaxChangedShapes = 256;

} // namespace

// Writes only the fields whose value differs from the row as loaded: a report read
// again changes few fields of most rows, and rewriting unchanged key fields would
// rebuild their index entries too.
void Table::update(const QList<int> &dirty)
{
    QByteArray &changedMask = m_changedMask;
    changedMask.fill('0', m_dirty.size());
    QList<int> &changed = m_changedFields;
    changed.resize(dirty.size());
    int *out = changed.data();
    qsizetype count = 0;
    for (int i : dirty) {
        // Fields a partial read did not see cannot be compared: they are written.
        const bool comparable = !m_partial || m_readable.at(i) == '1';
        if (m_loadedIsCurrent || !comparable || !sameStoredValue(m_values[i], m_loaded[i])) {
            changedMask[i] = '1';
            out[count++] = i;
        }
    }
    changed.resize(count);
    if (changed.isEmpty())
        return;
    const QList<int> *fields = &changed;
    QByteArray key = changedMask;
    Statements *cache = &m_updateStatements;
    if (!m_updateStatements.contains(changedMask)
        && m_updateStatements.size() >= kMaxChangedShapes) {
        fields = &dirty;
        key = m_dirty;
        cache = &m_fullUpdateStatements;
    }
    SqliteStatement &query = statement(*cache, key, [&] {
        QStringList sets;
        for (int i : *fields)
            sets.append(sqlQuote(m_def.fields[i].name) + QStringLiteral(" = ?"));
        return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
            .arg(sqlQuote(m_def.name), sets.join(u", "));
    });
    for (int j = 0; j < fields->size(); ++j)
        query.bind(j, m_values[(*fields)[j]]);
    query.bind(int(fields->size()), m_rowId);
    const ChangeRecorder::ExpectedUpdate expected(m_db, m_def, *fields, m_values);
    query.step();
    query.reset();
}

void Table::cancel()
{
    if (m_state == State::Insert) {
        m_hasCurrent = false;
        clearValues();
    } else if (!m_loadedIsCurrent) {
        if (m_partial) {
            for (qsizetype i = 0; i < m_values.size(); ++i) {
                if (m_readable.at(i) == '1')
                    m_values[i] = m_loaded[i];
            }
        } else {
            std::copy(m_loaded.cbegin(), m_loaded.cend(), m_values.begin());
        }
        m_loadedIsCurrent = true;
    }
    m_dirty.fill('0');
    m_state = State::Browse;
}

int Table::count()
{
    QStringList where;
    for (const QString &f : m_filterFields)
        where.append(sqlQuote(f) + QStringLiteral(" = ?"));
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(sqlQuote(m_def.name));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    SqliteStatement query = prepare(sql);
    try {
        bindWhere(query, {});
        if (!query.step())
            return 0;
        return int(query.columnInt64(0));
    } catch (const SqliteError &e) {
        fail(e);
    }
}

void Table::fail(const SqliteError &error) const
{
    if (error.code() == SQLITE_BUSY || error.code() == SQLITE_LOCKED)
        throw UserError(Database::lockedMessage(m_db.path()));
    throw UserError(QStringLiteral("Datenbankfehler in Tabelle %1 (%2): %3")
                        .arg(m_def.name, QDir::toNativeSeparators(m_db.path()), error.message()));
}

} // namespace tolvimar
