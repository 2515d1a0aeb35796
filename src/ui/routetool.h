#pragma once

#include "maptool.h"

namespace tolvimar {

class MapPanel;
class RoutePlanner;

// "Weg planen": the way of the selected unit to the region under the pointer follows
// the pointer on both maps; a click keeps it. The status bar names the region as the
// select tool does, and says why there is no way.
class RouteTool : public MapTool
{
public:
    RouteTool(MapPanel &panel, RoutePlanner &planner);

    void moved(MapView view, const QPoint &pixel) override;
    void pressed(MapView view, const QPoint &pixel, Qt::MouseButton button) override;
    void activate() override;
    void deactivate() override;

private:
    MapPanel &m_panel;
    RoutePlanner &m_planner;
};

} // namespace tolvimar
