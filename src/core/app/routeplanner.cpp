#include "routeplanner.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../db/gamequeries.h"
#include "../orders/orderblock.h"
#include "../orders/orderedit.h"
#include "../orders/ordertemplate.h"
#include "../orders/templatelines.h"
#include "session.h"

namespace tolvimar {

QString PlannedRoute::text() const
{
    if (!route.found())
        return noRouteText(route, travel, target, level);
    return QStringLiteral("Reisezeit: %1 Runden (%2 Regionen)").arg(route.turns).arg(steps());
}

RoutePlanner::RoutePlanner(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    // New regions or another game make every way planned so far stale.
    for (auto signal : {&Session::gameOpened, &Session::gameChanged, &Session::statusChanged})
        connect(&session, signal, this, &RoutePlanner::forgetGame);
}

RoutePlanner::~RoutePlanner() = default;

void RoutePlanner::setUnit(int number)
{
    if (number == m_unitNumber)
        return;
    m_unitNumber = number;
    m_travel.reset();
    dropWays();
}

void RoutePlanner::setAllowUnknown(bool allow)
{
    if (allow == m_allowUnknown)
        return;
    m_allowUnknown = allow;
    // The way under the pointer is planned anew at the next move; a kept way stays as
    // it was planned.
    if (m_preview) {
        m_preview.reset();
        emit routeChanged();
    }
}

void RoutePlanner::dropWays()
{
    const bool hadWay = m_preview || m_kept;
    m_preview.reset();
    m_kept.reset();
    if (hadWay)
        emit routeChanged();
}

void RoutePlanner::forgetGame()
{
    m_rules.reset();
    m_travel.reset();
    m_map.reset();
    dropWays();
}

const MovementRules &RoutePlanner::rules()
{
    if (!m_rules)
        m_rules = MovementRules::forGame(m_session.game().programPath);
    return *m_rules;
}

const RouteMap &RoutePlanner::levelMap(int level)
{
    if (!m_map || m_map->level() != level) {
        m_map.reset();
        GameQueries queries(m_session.database());
        m_map = std::make_unique<RouteMap>(
            level, queries.routeRegions(m_session.game().number, level), rules());
    }
    return *m_map;
}

const std::optional<PlannedRoute> &RoutePlanner::planTo(RegionCoord target, int level)
{
    if (m_unitNumber == 0 || !m_session.game().isOpen()) {
        if (m_preview) {
            m_preview.reset();
            emit routeChanged();
        }
        return m_preview;
    }
    const ActiveGame &game = m_session.game();
    PlannedRoute plan;
    plan.unitNumber = m_unitNumber;
    plan.unitText = numberText(m_unitNumber, game.type, game.base);
    if (!m_travel) {
        GameQueries queries(m_session.database());
        m_travel = unitTravel(queries, rules(), game.number, m_unitNumber, plan.unitText);
    }
    plan.travel = *m_travel;
    plan.target = target;
    plan.level = level;
    if (level != m_travel->traveller.level)
        plan.route.reason = NoRouteReason::OtherLevel;
    else
        plan.route = findRoute(
            levelMap(level), rules(), m_travel->traveller, target, level, m_allowUnknown);
    m_preview = std::move(plan);
    emit routeChanged();
    return m_preview;
}

void RoutePlanner::keep()
{
    if (!m_preview)
        return;
    m_kept = m_preview;
    emit routeChanged();
}

void RoutePlanner::dropPreview()
{
    if (!m_preview)
        return;
    m_preview.reset();
    emit routeChanged();
}

const std::optional<PlannedRoute> &RoutePlanner::shown() const
{
    return m_preview ? m_preview : m_kept;
}

QString RoutePlanner::writeMoveOrder()
{
    if (!m_kept || !m_kept->found())
        throw UserError(QStringLiteral("Es ist kein Weg gewählt: mit \"Weg planen\" auf das Ziel "
                                       "zeigen und klicken."));
    const QString order = moveOrder(m_kept->route);
    OrderTemplate &orders = m_session.orderTemplate();
    const std::unique_ptr<TemplateLines> lines = orders.view();
    const QList<BlockRange> blocks = findUnitBlocks(*lines, m_kept->unitText);
    if (blocks.isEmpty())
        throw UserError(QStringLiteral("Die Zugvorlage hat keinen Block der Einheit %1; %2 wurde "
                                       "nicht geschrieben.")
                            .arg(m_kept->unitText, order));
    const BlockRange &block = blocks.first();
    QStringList current;
    for (int i = block.header + 1; i < block.end; ++i)
        current.append(lines->line(i));
    // The same edit of the template as the order editor's "Befehle ausführen": one step
    // of the template's undo.
    orders.editLines({{block.header + 1, int(current.size()), withMoveOrder(current, order)}});
    return order;
}

} // namespace tolvimar
