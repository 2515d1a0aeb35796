#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

struct sqlite3;

namespace tolvimar {

class Database;
struct TableDef;

// Records what one transaction changes in the data tables while it changes it, so that
// the change can be taken back later. New rows are known by their rowids (past the
// largest one when recording began); of a changed row the columns that changed keep
// the values they had before; of a removed row all its values are kept. Only what
// changes is stored: an import that leaves most fields as they were costs little.
class ChangeRecorder
{
public:
    // Starts recording on the database's connection. Only one recorder may run on a
    // connection at a time.
    explicit ChangeRecorder(Database &db);
    ~ChangeRecorder();
    ChangeRecorder(const ChangeRecorder &) = delete;
    ChangeRecorder &operator=(const ChangeRecorder &) = delete;

    // Stops recording and returns the log (empty when nothing changed).
    QByteArray finish();
    // Bytes recorded so far.
    qint64 size() const { return m_records.size(); }

    // The table layer announces an update before it runs it: the fields it writes
    // and their new values. Only those columns can change, and numbers are compared
    // with the values as they are; without an announcement every column is compared.
    class ExpectedUpdate
    {
    public:
        ExpectedUpdate(Database &db, const TableDef &def, const QList<int> &fields,
            const QVector<QVariant> &values);
        ~ExpectedUpdate();
        ExpectedUpdate(const ExpectedUpdate &) = delete;
        ExpectedUpdate &operator=(const ExpectedUpdate &) = delete;

    private:
        ChangeRecorder *m_recorder;
    };

private:
    struct TableState
    {
        QString name;
        QByteArray nameUtf8;
        QStringList columns;
        QVector<int> columnOfField; // the table definition's field order to the file's
        qint64 firstNewRowid = 1; // rowids from here on are rows added while recording
    };
    struct Expectation
    {
        int table = -1;
        const QList<int> *fields = nullptr;
        const QVector<QVariant> *values = nullptr;
    };
    static void preupdate(void *self, sqlite3 *db, int op, const char *dbName,
        const char *tableName, qint64 oldRowid, qint64 newRowid);
    int tableIndex(const char *tableName);
    void recordUpdate(int table, qint64 rowid);
    void recordExpectedUpdate(int table, qint64 rowid);
    void recordDelete(int table, qint64 rowid);
    void stop();

    Database &m_db;
    sqlite3 *m_handle = nullptr;
    bool m_running = false;
    Expectation m_expected;
    QHash<const TableDef *, int> m_tableOfDef;
    QList<TableState> m_tables;
    int m_lastTable = -1;
    QByteArray m_records;
};

// Takes back the changes of a log, in the caller's transaction: rows added are
// removed, changed columns get their earlier values, removed rows come back with
// their rowids. Throws UserError when the log is damaged or a statement fails.
void revertChanges(Database &db, const QByteArray &log);

} // namespace tolvimar
