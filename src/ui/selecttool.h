#pragma once

#include "maptool.h"

namespace tolvimar {

class MapPanel;

// The pointer names the region under it in the status bar; a click chooses the region
// (the region view shows it).
class SelectTool : public MapTool
{
public:
    explicit SelectTool(MapPanel &panel);

    void moved(MapView view, const QPoint &pixel) override;
    void pressed(MapView view, const QPoint &pixel, Qt::MouseButton button) override;

private:
    MapPanel &m_panel;
};

} // namespace tolvimar
