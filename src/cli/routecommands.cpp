#include "routecommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/identifiers.h"
#include "base/identifiertext.h"
#include "base/workspacelock.h"
#include "cliutil.h"
#include "db/gamequeries.h"
#include "map/movementrules.h"
#include "map/travelplan.h"
#include "orders/orderblock.h"
#include "orders/orderedit.h"

#include <QDir>

namespace tolvimar::cli {

namespace {

// Writes the move order into the unit's block of the order file, in place of its
// NACH or ROUTE line; returns the exit status.
int writeMoveOrder(Session &session, const QString &position, int number, const QString &order)
{
    const ActiveGame &game = session.game();
    UnitOrdersEdit edit;
    edit.orderFile = session.orderFile().path();
    edit.game = game.number;
    edit.position = position;
    edit.number = number;
    edit.unitText = numberText(number, game.type, game.base);
    const QStringList lines = readTextLines(edit.orderFile);
    const std::optional<BlockRange> block = findUnitBlock(lines, edit.unitText);
    if (!block) {
        err() << "Die Zugdatei " << QDir::toNativeSeparators(edit.orderFile)
              << " enthält keine Einheit " << edit.unitText << "; NACH wurde nicht geschrieben.\n";
        return 2;
    }
    edit.orders
        = withMoveOrder(lines.mid(block->header + 1, block->end - block->header - 1), order);
    if (writeUnitOrders(session.database(), &session.workspaceLock(), edit)
        != UnitOrdersResult::Written) {
        err() << "Die Einheit " << edit.unitText
              << " ist nicht mehr in der Zugdatei; NACH wurde nicht geschrieben.\n";
        return 2;
    }
    return 0;
}

} // namespace

int route(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot"), QStringLiteral("--level")},
            {QStringLiteral("--write"), QStringLiteral("--unbekannte")}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    const QStringList &p = options.positional;
    if (p.size() != 3)
        return usage(QStringLiteral("route: falsche Anzahl von Argumenten."));
    RegionCoord target;
    int level = 0;
    if (!parseStrictInt(p[1], &target.x) || !parseStrictInt(p[2], &target.y))
        return usage(QStringLiteral("X und Y müssen Zahlen sein."));
    if (!parseStrictInt(
            options.values.value(QStringLiteral("--level"), QStringLiteral("0")), &level))
        return usage(QStringLiteral("--level braucht eine Zahl."));
    const bool write = options.flags.contains(QStringLiteral("--write"));

    OpenedSlot opened;
    echoToStderr(opened.prompter);
    opened.session = openWorkspace(args, opened.prompter);
    Session &session = *opened.session;
    // Writing holds the workspace from before the game is opened, so that the unit's
    // place and orders are read as the last writer left them.
    std::optional<WorkspaceWriteScope> held;
    if (write)
        held.emplace(&session.workspaceLock());
    openSlot(session, slot, QString());
    const ActiveGame &game = session.game();
    int number = 0;
    if (!parseIdentifierText(p[0], game.base, &number) || number == 0)
        return usage(p[0] + QStringLiteral(" ist keine Einheitennummer."));
    const QString unitText = numberText(number, game.type, game.base);

    const MovementRules rules = MovementRules::forGame(game.programPath);
    GameQueries queries(session.database());
    const UnitTravel travel = unitTravel(queries, rules, game.number, number, unitText);
    const RouteResult way = planRoute(queries, rules, game.number, travel, target, level,
        options.flags.contains(QStringLiteral("--unbekannte")));
    if (!way.found()) {
        out() << noRouteText(way, travel, target, level) << "\n";
        return 1;
    }
    const QString order = moveOrder(way);
    out() << "Weg: " << routePositions(way, level) << "\n"
          << "Runden: " << way.turns << "\n"
          << order << "\n";
    if (!write)
        return 0;
    out().flush();
    const int written = writeMoveOrder(session, travel.position, number, order);
    if (written == 0)
        err() << order << " steht in den Befehlen von Einheit " << unitText << ": "
              << QDir::toNativeSeparators(session.orderFile().path()) << "\n";
    return written;
}

} // namespace tolvimar::cli
