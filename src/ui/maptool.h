#pragma once

#include <QPoint>
#include <Qt>

namespace tolvimar {

// The two maps of the map panel.
enum class MapView { World, Small };

// What the pointer does on the maps. The map panel hands the pointer to the tool that
// is active; positions are pixels of the unzoomed pictures.
class MapTool
{
public:
    virtual ~MapTool() = default;

    virtual void moved(MapView view, const QPoint &pixel) = 0;
    virtual void pressed(MapView view, const QPoint &pixel, Qt::MouseButton button) = 0;
    // The tool becomes the active one, or another one takes over.
    virtual void activate() { }
    virtual void deactivate() { }
};

} // namespace tolvimar
