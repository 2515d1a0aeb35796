#include "statementreading.h"

#include "../base/errors.h"
#include "database.h"

namespace tolvimar {

namespace {

[[noreturn]] void unreadable(const SqliteError &e)
{
    throw UserError(QStringLiteral("Die Datenbank kann nicht gelesen werden: ") + e.message());
}

} // namespace

bool StatementReading::next()
{
    try {
        return m_statement.step();
    } catch (const SqliteError &e) {
        unreadable(e);
    }
}

std::unique_ptr<SqliteStatement> prepareRead(Database &db, const QString &sql)
{
    try {
        return std::make_unique<SqliteStatement>(db.handle(), sql);
    } catch (const SqliteError &e) {
        unreadable(e);
    }
}

} // namespace tolvimar
