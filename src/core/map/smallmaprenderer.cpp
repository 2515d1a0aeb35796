#include "smallmaprenderer.h"

#include "hexgeometry.h"
#include "tilecache.h"
#include "tileset.h"

namespace tolvimar {

SmallMapRenderer::SmallMapRenderer(QString imagesDir)
    : m_imagesDir(std::move(imagesDir))
{
}

QImage SmallMapRenderer::render(int cx, int cy, const TerrainLookup &terrainAt) const
{
    QImage image(kSmallMapSize, kSmallMapSize, QImage::Format_RGB32);
    image.fill(kBackground);
    const TileSet &tiles = TileSet::small();
    TileCache cache(m_imagesDir);
    QString file;
    for (int row = 1; row <= kSmallMapRows; ++row) {
        for (int cell = 1; cell <= smallMapCellCount(row); ++cell) {
            const RegionCoord region = smallCellRegion(cx, cy, row, cell);
            const std::optional<QString> terrain = terrainAt(region.x, region.y);
            file = terrain ? tiles.choose(*terrain, file) : tiles.blankFile();
            const QPoint corner = smallCellCorner(row, cell);
            cache.tile(file).drawInto(image, corner.x(), corner.y());
        }
    }
    return image;
}

} // namespace tolvimar
