#pragma once

#include "hexgeometry.h"

#include <QImage>
#include <QList>
#include <QString>
#include <optional>

namespace tolvimar {

// A rendered world map: the picture and the extent of the level it shows.
struct WorldMap
{
    QImage image;
    MapExtent extent;

    WorldMapFrame frame() const { return {extent.minX, extent.minY, image.height()}; }
};

// Draws the world map of one level: every region one hexagon tile at its cell
// corner, later regions over earlier ones.
class WorldMapRenderer
{
public:
    // Colour of the picture where neither the background bitmap nor a tile lies.
    static constexpr QRgb kBackground = 0xff1b2028;
    // Larger pictures are refused rather than allocated. The limit holds for drawing
    // and for reading the cached picture back (256 MB in memory): a level that needs
    // more has a region far off the rest, usually one from foreign map data.
    static constexpr int kMaxSide = 32767;
    static constexpr qint64 kMaxPixels = qint64(1) << 26;

    explicit WorldMapRenderer(QString imagesDir);

    // Renders the regions of one level, given in key order (ascending x, then y):
    // "wblank.bmp" at the upper left, then each region's tile. nullopt when there is no
    // region: the caller keeps the picture it has. Throws UserError when a tile file is
    // missing or unreadable, or when the level is too large for one picture.
    std::optional<WorldMap> render(const QList<MapCell> &cells) const;

    // The same map scale times larger (2 to 4), each region drawn with the small map's
    // tile of its terrain fitted to the larger cell, so that a zoomed map shows the
    // tiles' art rather than enlarged pixels. nullopt when there is no region or the
    // larger picture would pass the limits (the caller enlarges the plain map then).
    // Throws UserError when a tile file is missing or unreadable.
    std::optional<WorldMap> renderScaled(const QList<MapCell> &cells, int scale) const;

    // Smallest and largest x and y of the cells; all zero for none.
    static MapExtent extentOf(const QList<MapCell> &cells);

private:
    QString m_imagesDir;
};

} // namespace tolvimar
