#include "table.h"

#include "../app/errors.h"
#include "database.h"

#include <QDir>
#include <QSqlError>

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
    m_columns = columns.join(u", ");
    QStringList order;
    for (const QString &k : def.key)
        order.append(sqlQuote(k));
    m_keyOrder = order.join(u", ");
    m_values.resize(def.fields.size());
    m_dirty.fill('0', def.fields.size());
}

Table::~Table() = default;

int Table::field(QStringView name) const
{
    const auto it = m_fieldIndex.constFind(name.toString());
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
}

void Table::setGameFilter(int game)
{
    setFilter({QStringLiteral("Spiel")}, {game});
}

void Table::clearFilter()
{
    m_filterFields.clear();
    m_filterValues.clear();
}

QSqlQuery &Table::statement(const QString &key, const std::function<QString()> &sql)
{
    auto it = m_statements.find(key);
    if (it == m_statements.end()) {
        auto query = std::make_shared<QSqlQuery>(m_db.connection());
        query->setForwardOnly(true);
        if (!query->prepare(sql()))
            fail(*query);
        it = m_statements.insert(key, query);
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

void Table::bindWhere(QSqlQuery &query, int start, const QVariantList &values) const
{
    int i = start;
    for (const QVariant &v : m_filterValues)
        query.bindValue(i++, v);
    for (const QVariant &v : values)
        query.bindValue(i++, v);
}

void Table::load(const QSqlQuery &query)
{
    m_rowId = query.value(0).toLongLong();
    for (int i = 0; i < m_values.size(); ++i)
        m_values[i] = query.value(i + 1);
    m_loaded = m_values;
    m_dirty.fill('0');
    m_hasCurrent = true;
    m_state = State::Browse;
}

bool Table::find(const QStringList &fields, const QVariantList &values)
{
    Q_ASSERT(fields.size() == values.size());
    const QString key = QStringLiteral("find|") + m_filterFields.join(u',') + u'|' + fields.join(u',');
    QSqlQuery &query = statement(key, [&] { return selectSql(fields, QStringLiteral(" LIMIT 1")); });
    bindWhere(query, 0, values);
    if (!query.exec())
        fail(query);
    m_state = State::Browse;
    m_dirty.fill('0');
    const bool found = query.next();
    if (found)
        load(query);
    else
        m_hasCurrent = false;
    query.finish();
    return found;
}

bool Table::findKey(const QVariantList &values)
{
    return find(m_def.key.mid(0, values.size()), values);
}

bool Table::first(const QStringList &fields, const QVariantList &values)
{
    m_walk = std::make_unique<QSqlQuery>(m_db.connection());
    m_walk->setForwardOnly(true);
    if (!m_walk->prepare(selectSql(fields, QString())))
        fail(*m_walk);
    bindWhere(*m_walk, 0, values);
    if (!m_walk->exec())
        fail(*m_walk);
    return next();
}

bool Table::next()
{
    if (m_walk && m_walk->next()) {
        load(*m_walk);
        return true;
    }
    m_walk.reset();
    m_hasCurrent = false;
    m_state = State::Browse;
    return false;
}

void Table::append()
{
    for (QVariant &v : m_values)
        v = QVariant();
    m_dirty.fill('0');
    m_rowId = -1;
    m_state = State::Insert;
}

void Table::edit()
{
    if (!m_hasCurrent)
        throw std::logic_error("edit without a current row in table " + m_def.name.toStdString());
    m_state = State::Edit;
}

bool Table::editOrAppend(const QVariantList &keyValues)
{
    const bool found = findKey(keyValues);
    if (found) {
        edit();
        return true;
    }
    append();
    for (int i = 0; i < keyValues.size(); ++i)
        setValue(field(m_def.key[i]), keyValues[i]);
    return false;
}

void Table::setValue(int field, const QVariant &value)
{
    if (m_state == State::Browse)
        throw std::logic_error("setValue outside edit or append in table "
                               + m_def.name.toStdString());
    m_values[field] = value;
    m_dirty[field] = '1';
}

void Table::post()
{
    if (m_state == State::Browse)
        return;
    QList<int> dirty;
    for (int i = 0; i < m_dirty.size(); ++i) {
        if (m_dirty[i] == '1')
            dirty.append(i);
    }
    if (m_state == State::Insert) {
        QSqlQuery &query = statement(QStringLiteral("insert|") + QString::fromLatin1(m_dirty), [&] {
            QStringList names, marks;
            for (int i : dirty) {
                names.append(sqlQuote(m_def.fields[i].name));
                marks.append(QStringLiteral("?"));
            }
            if (names.isEmpty())
                return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(sqlQuote(m_def.name));
            return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(sqlQuote(m_def.name), names.join(u", "), marks.join(u", "));
        });
        for (int j = 0; j < dirty.size(); ++j)
            query.bindValue(j, m_values[dirty[j]]);
        if (!query.exec())
            fail(query);
        m_rowId = query.lastInsertId().toLongLong();
        query.finish();
    } else if (!dirty.isEmpty()) {
        QSqlQuery &query = statement(QStringLiteral("update|") + QString::fromLatin1(m_dirty), [&] {
            QStringList sets;
            for (int i : dirty)
                sets.append(sqlQuote(m_def.fields[i].name) + QStringLiteral(" = ?"));
            return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                .arg(sqlQuote(m_def.name), sets.join(u", "));
        });
        for (int j = 0; j < dirty.size(); ++j)
            query.bindValue(j, m_values[dirty[j]]);
        query.bindValue(dirty.size(), m_rowId);
        if (!query.exec())
            fail(query);
        query.finish();
    }
    m_loaded = m_values;
    m_dirty.fill('0');
    m_hasCurrent = true;
    m_state = State::Browse;
}

void Table::cancel()
{
    if (m_state == State::Insert) {
        m_hasCurrent = false;
        for (QVariant &v : m_values)
            v = QVariant();
    } else {
        m_values = m_loaded;
    }
    m_dirty.fill('0');
    m_state = State::Browse;
}

int Table::count()
{
    QStringList where;
    for (const QString &f : m_filterFields)
        where.append(sqlQuote(f) + QStringLiteral(" = ?"));
    QSqlQuery query(m_db.connection());
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(sqlQuote(m_def.name));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    if (!query.prepare(sql))
        fail(query);
    bindWhere(query, 0, {});
    if (!query.exec() || !query.next())
        fail(query);
    return query.value(0).toInt();
}

void Table::fail(const QSqlQuery &query) const
{
    throw UserError(QStringLiteral("Datenbankfehler in Tabelle %1 (%2): %3")
                        .arg(m_def.name, QDir::toNativeSeparators(m_db.path()),
                             query.lastError().text()));
}

} // namespace tolvimar
