#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tolvimar {

// The one SQLite file of a workspace. Opening creates every missing table and index.
class Database
{
public:
    // Throws UserError naming the file when it cannot be opened or is not a database.
    explicit Database(const QString &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &path() const { return m_path; }
    QSqlDatabase connection() const;
    // The connection's own SQLite handle, for the table layer's frequent statements.
    sqlite3 *handle() const { return m_handle; }

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // SQLite's page cache of this connection, in KiB.
    int cacheSizeKib();
    void setCacheSizeKib(int kib);

    // Runs a statement without results; throws UserError with the database's text.
    void exec(const QString &sql);

private:
    void createSchema();
    QStringList existingObjects();
    void takeHandle();

    QString m_path;
    QString m_connectionName;
    bool m_inTransaction = false;
    sqlite3 *m_handle = nullptr;
};

// Begins a transaction and rolls it back unless commit() was called.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();
    void rollback();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace tolvimar
