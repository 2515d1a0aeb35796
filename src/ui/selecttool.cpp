#include "selecttool.h"

#include "mappanel.h"

namespace tolvimar {

SelectTool::SelectTool(MapPanel &panel)
    : m_panel(panel)
{
}

void SelectTool::moved(MapView view, const QPoint &pixel)
{
    if (view == MapView::World)
        m_panel.Image82MouseMove(pixel.x(), pixel.y());
    else
        m_panel.Image1MouseMove(pixel.x(), pixel.y());
}

void SelectTool::pressed(MapView view, const QPoint &pixel, Qt::MouseButton)
{
    if (view == MapView::World)
        m_panel.Image82MouseDown(pixel.x(), pixel.y());
    else
        m_panel.Image1MouseDown(pixel.x(), pixel.y());
}

} // namespace tolvimar
