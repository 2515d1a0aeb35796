#pragma once

#include "schema.h"
#include "sqlitestatement.h"

#include <QHash>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace tolvimar {

class Database;

// One table of the game database with a current row, in the way the import and the
// views use it: find by leading key fields, edit or append, set fields, post or
// cancel, walk in key order; optionally restricted to one game by a filter.
// Statements are prepared once per shape and reused; values are always bound.
// They run on the connection's SQLite handle: an import finds and posts a row of
// the 130-column units table for every unit, and QSqlQuery's per-call record and
// binding work would be most of the import's time.
class Table
{
public:
    enum class State { Browse, Edit, Insert };

    Table(Database &db, const TableDef &def);
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    const TableDef &def() const { return m_def; }
    // Field number of a name; a name the table does not have is a programming error.
    int field(QStringView name) const;

    // Every find and walk sees only rows whose fields equal these values (the
    // per-game filter: {"Spiel", k}); an empty list switches the filter off.
    void setFilter(const QStringList &fields, const QVariantList &values);
    void setGameFilter(int game);
    void clearFilter();

    // Exact match on the given fields; the first match in key order becomes current.
    bool find(const QStringList &fields, const QVariantList &values);
    // Exact match on the leading fields of the key.
    bool findKey(const QVariantList &values);
    // As findKey, but reads only the given fields of the row found and those of the key
    // and the indexes; reading any other field before it is set is a programming
    // error, and posting the row writes every field that was set, except read ones
    // whose value stayed the same. For rows that an import refreshes almost whole: the
    // units table has 130 columns, and loading them all for each unit was most of the
    // time of a second import.
    bool findKeyReading(const QVariantList &values, const QList<int> &wanted);
    // editOrAppend() with findKeyReading().
    bool editOrAppendReading(const QVariantList &keyValues, const QList<int> &fields);

    // Walks the rows that match the given fields (none: the whole filtered table) in
    // key order; the row found becomes current. Returns false at the end.
    bool first(const QStringList &fields = {}, const QVariantList &values = {});
    bool next();
    bool atEnd() const { return !m_hasCurrent; }
    bool hasCurrent() const { return m_hasCurrent; }

    void append();
    void edit();
    // Finds the row with these leading key values and edits it, or appends one with
    // them; returns whether the row existed.
    bool editOrAppend(const QVariantList &keyValues);
    void post();
    void cancel();
    State state() const { return m_state; }

    const QVariant &value(int field) const { return current(field); }
    QVariant value(QStringView name) const { return current(field(name)); }
    bool isNull(int field) const { return current(field).isNull(); }
    bool isNull(QStringView name) const { return isNull(field(name)); }
    // Text of a field; empty for an empty field.
    QString text(int field) const { return current(field).toString(); }
    QString text(QStringView name) const { return text(field(name)); }
    // Integer of a field; 0 for an empty field.
    int intValue(int field) const { return current(field).toInt(); }
    int intValue(QStringView name) const { return intValue(field(name)); }

    void setValue(int field, const QVariant &value);
    void setValue(int field, QVariant &&value);
    void setValue(QStringView name, const QVariant &value) { setValue(field(name), value); }
    void setValue(QStringView name, QVariant &&value) { setValue(field(name), std::move(value)); }
    void setNull(int field) { setValue(field, QVariant()); }
    // The same value into several fields (as setValue for each).
    void setValues(const QList<int> &fields, const QVariant &value);

    // Number of rows matching the filter (for tests and summaries).
    int count();

private:
    // After append() only the fields set since hold the new row's values; the others
    // still hold whatever the buffer held and read as empty until the row is settled
    // (clearing all 130 fields of a unit row for every append cost more than the rest
    // of the append together).
    const QVariant &current(int field) const
    {
        if (m_state == State::Insert && m_dirty.at(field) != '1')
            return nullValue();
        if (m_partial && m_readable.at(field) != '1' && m_dirty.at(field) != '1')
            unreadField(field);
        return m_values[field];
    }
    [[noreturn]] void unreadField(int field) const;
    bool editFoundOrAppend(bool found, const QVariantList &keyValues);
    static const QVariant &nullValue();
    void settleInsert();

    using Statements = QHash<QByteArray, std::shared_ptr<SqliteStatement>>;
    SqliteStatement &statement(
        Statements &cache, const QByteArray &key, const std::function<QString()> &sql);
    SqliteStatement &findStatement(const QStringList &fields);
    SqliteStatement prepare(const QString &sql) const;
    QString selectSql(const QStringList &fields, const QString &suffix) const;
    void load(const SqliteStatement &statement);
    void bindWhere(SqliteStatement &statement, const QVariantList &values) const;
    void update(const QList<int> &dirty);
    void detachLoaded();
    void clearValues();
    [[noreturn]] void fail(const SqliteError &error) const;

    Database &m_db;
    const TableDef &m_def;
    QHash<QString, int> m_fieldIndex;
    QString m_columns;
    QString m_keyOrder;
    QStringList m_filterFields;
    QVariantList m_filterValues;
    // Find statements by their fields (they include the filter, so a new filter
    // empties this); inserts and updates by their dirty-field mask.
    QHash<QStringList, std::shared_ptr<SqliteStatement>> m_findStatements;
    Statements m_insertStatements;
    Statements m_updateStatements; // by the mask of changed fields
    Statements m_fullUpdateStatements; // by the dirty mask, once the above is full
    std::unique_ptr<SqliteStatement> m_walk;
    // Reused by post() and update().
    QList<int> m_dirtyFields;
    QList<int> m_changedFields;
    QByteArray m_changedMask;

    State m_state = State::Browse;
    bool m_hasCurrent = false;
    qint64 m_rowId = -1;
    QVector<QVariant> m_values;
    QVector<QVariant> m_loaded;
    bool m_loadedIsCurrent = false; // the loaded row is m_values, not m_loaded
    QByteArray m_dirty;
    // The current row was read by findKeyReading(): only the fields marked here hold
    // its values.
    bool m_partial = false;
    QByteArray m_readable;
    // Partial reads by the mask of wanted fields: the statement and the fields it reads.
    struct PartialRead
    {
        std::shared_ptr<SqliteStatement> statement;
        QList<int> fields;
    };
    QHash<QByteArray, PartialRead> m_partialReads;
    // The fields of the key and the indexes, which a partial read always includes.
    QList<int> m_indexedFields;
};

} // namespace tolvimar
