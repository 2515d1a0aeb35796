#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tolvimar {

class ChangeRecorder;

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

    // The recorder of the running transaction's changes, if one runs.
    ChangeRecorder *changeRecorder() const { return m_changeRecorder; }
    void setChangeRecorder(ChangeRecorder *recorder) { m_changeRecorder = recorder; }
    // The text of a failed statement for a message: another program's lock is named
    // as such ("gesperrt"), anything else in the database's words.
    QString errorText(const QSqlError &error) const;
    static QString lockedMessage(const QString &path);

private:
    void createSchema();
    QStringList existingObjects();
    void checkForeignLayout();
    void takeHandle();

    QString m_path;
    QString m_connectionName;
    bool m_inTransaction = false;
    sqlite3 *m_handle = nullptr;
    ChangeRecorder *m_changeRecorder = nullptr;
};

// A large import touches most pages of the tables it writes, and many of them more
// than once; with SQLite's default cache of 2 MB they would go to the file several
// times before the commit. For its lifetime the cache grows to a quarter of the given
// size (at most 32 MB, within the memory an import may take); afterwards it shrinks back and
// its memory is given back.
class CacheScope
{
public:
    CacheScope(Database &db, qint64 bytes);
    ~CacheScope();
    CacheScope(const CacheScope &) = delete;
    CacheScope &operator=(const CacheScope &) = delete;

private:
    Database &m_db;
    int m_previous;
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
