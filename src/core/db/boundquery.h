#pragma once

#include "../base/errors.h"
#include "database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace tolvimar {

// Prepares a statement, binds the values in order and runs it; a failure is a
// UserError with the engine's text. For the small bookkeeping tables beside the game's.
inline QSqlQuery execBound(Database &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db.connection());
    if (!q.prepare(sql))
        throw UserError(QStringLiteral("Datenbankfehler: %1").arg(q.lastError().text()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw UserError(QStringLiteral("Datenbankfehler: %1").arg(q.lastError().text()));
    return q;
}

} // namespace tolvimar
