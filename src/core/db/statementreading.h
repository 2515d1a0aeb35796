#pragma once

#include "sqlitestatement.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace tolvimar {

class Database;

// One read with a prepared statement: steps through its rows and resets the
// statement when the read ends, whether it returned or threw. A failure of SQLite
// becomes the user's message.
class StatementReading
{
public:
    explicit StatementReading(SqliteStatement &statement)
        : m_statement(statement)
    {
    }
    ~StatementReading() { m_statement.reset(); }
    StatementReading(const StatementReading &) = delete;
    StatementReading &operator=(const StatementReading &) = delete;

    bool next();
    QVariant value(int i) const { return m_statement.column(i); }
    QString text(int i) const { return m_statement.columnText(i); }
    int integer(int i) const { return int(m_statement.columnInt64(i)); }

private:
    SqliteStatement &m_statement;
};

// Prepares a statement for reading; a failure is the user's message.
std::unique_ptr<SqliteStatement> prepareRead(Database &db, const QString &sql);

} // namespace tolvimar
