#pragma once

#include "../base/textfile.h"
#include "orderblock.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;
class WorkspaceLock;

// Why an order line cannot stand in a unit's block, empty when it can: a line whose
// first word is PARTEI, REGION, EINHEIT or NAECHSTER (in any case and indentation)
// would start a part of the order file or end the orders for the game, and control
// characters have no place in it.
QString orderLineProblem(QStringView line);

// The orders of a file for one unit (set-orders): a first line that is a unit's header
// (as "orders" prints it) is dropped and must name this unit, blank lines go, every
// other line is kept as an order. Throws UserError naming the file and the line of
// input that is no text or a line that cannot be an order.
QStringList ordersOfFile(const QByteArray &bytes, const QString &unitText, const QString &fileName);

// The orders with a move order in place of the first NACH or ROUTE line (first word,
// any case), or after the last order when there is none, indented as the line it
// replaces or the last order; other lines stay as they are.
QStringList withMoveOrder(const QStringList &orders, const QString &moveOrder);

// One unit's orders and mark, changed in the order file and the database as one step.
struct UnitOrdersEdit
{
    QString orderFile; // path of the order file
    int game = 0;
    QString position;
    int number = 0;
    QString unitText;
    QStringList orders; // the new order lines, without the header
    std::optional<UnitMark> mark; // none: `Flags` stays as it is
};

enum class UnitOrdersResult { Written, NoUnit, NoBlock };

// Under the workspace lock the order file is read as it is now, the unit's orders
// replaced and its mark stored: the file and the mark change together or not at all.
// Throws UserError (file not readable or writable, database or workspace locked);
// nothing changed then.
UnitOrdersResult writeUnitOrders(Database &db, WorkspaceLock *lock, const UnitOrdersEdit &edit);

} // namespace tolvimar
