#include "database.h"

#include "../base/errors.h"
#include "schema.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <atomic>
#include <sqlite3.h>

namespace tolvimar {

namespace {

QString columnType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Int:
        return QStringLiteral("INTEGER");
    case FieldType::Text:
        return field.size > 0 ? QStringLiteral("VARCHAR(%1)").arg(field.size)
                              : QStringLiteral("TEXT");
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

// SQLITE_BUSY and SQLITE_LOCKED: another connection holds the lock past the wait.
bool isLocked(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == u"5" || code == u"6";
}

QString quotedList(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &f : fields)
        quoted.append(sqlQuote(f));
    return quoted.join(u", ");
}

} // namespace

QString Database::lockedMessage(const QString &path)
{
    return QStringLiteral("Die Datenbank %1 ist gesperrt: sie wird gerade von einem anderen "
                          "Programm benutzt. Bitte später noch einmal versuchen.")
        .arg(QDir::toNativeSeparators(path));
}

QString Database::errorText(const QSqlError &error) const
{
    return isLocked(error) ? lockedMessage(m_path) : error.text();
}

Database::Database(const QString &path)
    : m_path(path)
{
    static std::atomic<int> counter {0};
    m_connectionName = QStringLiteral("tolvimar-%1").arg(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw UserError(QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2")
                            .arg(QDir::toNativeSeparators(path), text));
    }
    try {
        takeHandle();
        createSchema();
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void Database::exec(const QString &sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql)) {
        if (isLocked(query.lastError()))
            throw UserError(lockedMessage(m_path));
        throw UserError(QStringLiteral("Datenbankfehler in %1: %2")
                            .arg(QDir::toNativeSeparators(m_path), query.lastError().text()));
    }
}

// The SQL driver and this program must use one and the same SQLite library, or the
// handle would mean nothing here; the versions tell two copies apart.
void Database::takeHandle()
{
    const QVariant handle = connection().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
    QSqlQuery version(connection());
    const bool sameLibrary = m_handle && version.exec(QStringLiteral("SELECT sqlite_version()"))
        && version.next()
        && version.value(0).toString() == QString::fromLatin1(sqlite3_libversion());
    if (!sameLibrary) {
        m_handle = nullptr;
        throw UserError(
            QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: der SQLite-Treiber von Qt "
                           "nutzt eine andere SQLite-Bibliothek als das Programm.")
                .arg(QDir::toNativeSeparators(m_path)));
    }
}

QStringList Database::existingObjects()
{
    // Reading the schema fails on a file that is not a database; say so plainly.
    QSqlQuery probe(connection());
    if (!probe.exec(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'index')"))) {
        if (isLocked(probe.lastError()))
            throw UserError(lockedMessage(m_path));
        throw UserError(QStringLiteral("Die Datei %1 ist keine lesbare Datenbank: %2")
                            .arg(QDir::toNativeSeparators(m_path), probe.lastError().text()));
    }
    QStringList existing;
    while (probe.next())
        existing.append(probe.value(0).toString());
    return existing;
}

void Database::createSchema()
{
    // The statements that create what is missing: whole tables, and the lookups a later
    // version added to an older database.
    auto missing = [](const QStringList &existing) {
        QStringList statements;
        for (const TableDef *table : schema::allTables()) {
            if (!existing.contains(table->name)) {
                QStringList columns;
                for (const FieldDef &field : table->fields)
                    columns.append(sqlQuote(field.name) + u' ' + columnType(field));
                statements.append(QStringLiteral("CREATE TABLE %1 (%2)")
                                      .arg(sqlQuote(table->name), columns.join(u", ")));
                statements.append(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                                      .arg(sqlQuote(table->name + QStringLiteral("_key")),
                                          sqlQuote(table->name), quotedList(table->key)));
            }
            for (int i = 0; i < table->indexes.size(); ++i) {
                const QString name = table->name + QStringLiteral("_idx") + QString::number(i + 1);
                if (!existing.contains(name))
                    statements.append(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                                          .arg(sqlQuote(name), sqlQuote(table->name),
                                              quotedList(table->indexes[i])));
            }
        }
        return statements;
    };
    const QStringList existing = existingObjects();
    checkForeignLayout();
    if (missing(existing).isEmpty())
        return;
    // A new database gets larger pages: unit rows have 130 columns, and fewer page
    // splits make a large import faster.
    if (existing.isEmpty())
        exec(QStringLiteral("PRAGMA page_size = 16384"));
    begin();
    try {
        // Asked again under the write lock: another program may have created them since.
        for (const QString &sql : missing(existingObjects()))
            exec(sql);
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

// Tables are added to an empty database and to one of ours that lacks some; a
// database of another program is left as it is, and so is one whose tables of our
// names have other fields.
void Database::checkForeignLayout()
{
    const QString shown = QDir::toNativeSeparators(m_path);
    QSqlQuery tables(connection());
    if (!tables.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")))
        throw UserError(
            QStringLiteral("Datenbankfehler in %1: %2").arg(shown, errorText(tables.lastError())));
    QStringList foreign;
    while (tables.next())
        foreign.append(tables.value(0).toString());
    bool anyOfOurs = false;
    for (const TableDef *table : schema::allTables()) {
        if (!foreign.removeAll(table->name))
            continue;
        anyOfOurs = true;
        QSqlQuery info(connection());
        if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlQuote(table->name))))
            throw UserError(QStringLiteral("Datenbankfehler in %1: %2")
                                .arg(shown, errorText(info.lastError())));
        QStringList columns;
        while (info.next())
            columns.append(info.value(1).toString());
        QStringList lacking;
        for (const FieldDef &field : table->fields) {
            if (!columns.contains(field.name))
                lacking.append(field.name);
        }
        if (!lacking.isEmpty())
            throw UserError(
                QStringLiteral("Die Datenbank %1 gehört nicht zu Tolvimar: ihre Tabelle \"%2\" "
                               "hat andere Felder (es fehlen %3). Sie wird nicht verändert; bitte "
                               "ein anderes Arbeitsverzeichnis wählen.")
                    .arg(shown, table->name,
                        QStringList(lacking.mid(0, 5)).join(QStringLiteral(", "))
                            + (lacking.size() > 5 ? QStringLiteral(", …") : QString())));
    }
    if (!anyOfOurs && !foreign.isEmpty())
        throw UserError(QStringLiteral("Die Datenbank %1 ist die eines anderen Programms (Tabellen "
                                       "%2). Sie wird nicht verändert; bitte ein anderes "
                                       "Arbeitsverzeichnis wählen.")
                            .arg(shown,
                                QStringList(foreign.mid(0, 5)).join(QStringLiteral(", "))
                                    + (foreign.size() > 5 ? QStringLiteral(", …") : QString())));
}

int Database::cacheSizeKib()
{
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("PRAGMA cache_size")) || !query.next())
        return 2000;
    const int value = query.value(0).toInt();
    // Positive values count pages, negative ones KiB.
    return value < 0 ? -value : value * 4;
}

void Database::setCacheSizeKib(int kib)
{
    exec(QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
}

void Database::begin()
{
    // Takes the write lock at once, so that a second writer waits (busy timeout)
    // instead of failing on its first write after it has read.
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void Database::commit()
{
    exec(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Database::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    QSqlQuery query(connection());
    query.exec(QStringLiteral("ROLLBACK"));
}

CacheScope::CacheScope(Database &db, qint64 bytes)
    : m_db(db)
    , m_previous(db.cacheSizeKib())
{
    const qint64 kib = qMax<qint64>(m_previous, qMin<qint64>(bytes / 4096, 32 * 1024));
    if (kib != m_previous)
        m_db.setCacheSizeKib(int(kib));
}

CacheScope::~CacheScope()
{
    try {
        m_db.setCacheSizeKib(m_previous);
    } catch (const UserError &) {
        // The cache only affects speed.
    }
    if (m_db.handle())
        sqlite3_db_release_memory(m_db.handle());
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}

void Transaction::rollback()
{
    if (!m_done)
        m_db.rollback();
    m_done = true;
}

} // namespace tolvimar
