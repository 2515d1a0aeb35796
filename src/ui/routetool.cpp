#include "routetool.h"

#include "app/routeplanner.h"
#include "mappanel.h"

namespace tolvimar {

RouteTool::RouteTool(MapPanel &panel, RoutePlanner &planner)
    : m_panel(panel)
    , m_planner(planner)
{
}

void RouteTool::activate()
{
    if (m_planner.unit() == 0)
        m_panel.showRouteText(QStringLiteral("Weg planen: zuerst eine eigene Einheit wählen."));
}

void RouteTool::deactivate()
{
    m_planner.dropPreview();
}

void RouteTool::moved(MapView view, const QPoint &pixel)
{
    // The status bar names the region under the pointer, as with the select tool.
    if (view == MapView::World)
        m_panel.Image82MouseMove(pixel.x(), pixel.y());
    else
        m_panel.Image1MouseMove(pixel.x(), pixel.y());
    if (const std::optional<RegionCoord> region = m_panel.regionAt(view, pixel))
        m_panel.planRouteTo(*region);
}

void RouteTool::pressed(MapView view, const QPoint &pixel, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    if (const std::optional<RegionCoord> region = m_panel.regionAt(view, pixel)) {
        m_panel.planRouteTo(*region);
        m_planner.keep();
    }
}

} // namespace tolvimar
