#include "worldmaprenderer.h"

#include "base/errors.h"
#include "tilecache.h"
#include "tileset.h"

#include <algorithm>
#include <unordered_map>

namespace tolvimar {

WorldMapRenderer::WorldMapRenderer(QString imagesDir)
    : m_imagesDir(std::move(imagesDir))
{
}

MapExtent WorldMapRenderer::extentOf(const QList<MapCell> &cells)
{
    if (cells.isEmpty())
        return {};
    MapExtent extent {cells.first().x, cells.first().x, cells.first().y, cells.first().y};
    for (const MapCell &cell : cells) {
        extent.minX = std::min(extent.minX, cell.x);
        extent.maxX = std::max(extent.maxX, cell.x);
        extent.minY = std::min(extent.minY, cell.y);
        extent.maxY = std::max(extent.maxY, cell.y);
    }
    return extent;
}

std::optional<WorldMap> WorldMapRenderer::render(const QList<MapCell> &cells) const
{
    if (cells.isEmpty())
        return std::nullopt;
    WorldMap map;
    map.extent = extentOf(cells);
    const qint64 width = worldMapWidth(map.extent);
    const qint64 height = worldMapHeight(map.extent);
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        throw UserError(QStringLiteral("Die Weltkarte wäre %1 × %2 Pixel groß (Breite %3 bis %4, "
                                       "Länge %5 bis %6) und damit zu groß: gezeichnet werden "
                                       "Karten bis %7 Millionen Pixel und %8 Pixel je Seite. "
                                       "Meist liegt eine einzelne Region weit abseits der "
                                       "übrigen (etwa aus fremden Kartendaten).")
                            .arg(width)
                            .arg(height)
                            .arg(map.extent.minX)
                            .arg(map.extent.maxX)
                            .arg(map.extent.minY)
                            .arg(map.extent.maxY)
                            .arg(kMaxPixels / 1000000)
                            .arg(kMaxSide));
    map.image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (map.image.isNull())
        throw UserError(QStringLiteral("Für die Weltkarte (%1 × %2 Pixel) ist nicht genug "
                                       "Speicher frei.")
                            .arg(width)
                            .arg(height));
    map.image.fill(kBackground);

    const TileSet &tiles = TileSet::world();
    TileCache cache(m_imagesDir);
    cache.tile(tiles.blankFile()).drawInto(map.image, 0, 0);

    // Runs of equal terrain, the common case, skip the table look-up.
    const MapTile *tile = nullptr;
    QString previousFile;
    const QString *previousTerrain = nullptr;
    const WorldMapFrame frame = map.frame();
    for (const MapCell &cell : cells) {
        if (!previousTerrain || cell.terrain != *previousTerrain) {
            const QString file = tiles.choose(cell.terrain, previousFile);
            if (file != previousFile) {
                tile = &cache.tile(file);
                previousFile = file;
            }
            previousTerrain = &cell.terrain;
        }
        const QPoint corner = worldCellCorner(frame, cell.x, cell.y);
        tile->drawInto(map.image, corner.x(), corner.y());
    }
    return map;
}

std::optional<WorldMap> WorldMapRenderer::renderScaled(const QList<MapCell> &cells, int scale) const
{
    if (scale <= 1)
        return render(cells);
    if (cells.isEmpty())
        return std::nullopt;
    WorldMap map;
    map.extent = extentOf(cells);
    const qint64 width = worldMapWidth(map.extent) * scale;
    const qint64 height = worldMapHeight(map.extent) * scale;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return std::nullopt;
    map.image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (map.image.isNull())
        return std::nullopt;
    map.image.fill(kBackground);

    TileCache cache(m_imagesDir);
    // Scaled by nearest pixels, so that the key colour around the hexagon stays pure.
    const auto scaled = [scale](const MapTile &tile, QSize size) {
        if (!size.isValid())
            size = tile.size() * scale;
        return MapTile(tile.image().scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    };
    scaled(cache.tile(TileSet::world().blankFile()), QSize()).drawInto(map.image, 0, 0);

    const TileSet &tiles = TileSet::small();
    const QSize cellSize(kWorldCellPitch * scale, (kWorldCellPitch + 2) * scale);
    std::unordered_map<QString, MapTile> fitted;
    QString previousFile;
    const MapTile *tile = nullptr;
    const WorldMapFrame frame {map.extent.minX, map.extent.minY, map.image.height() / scale};
    for (const MapCell &cell : cells) {
        const QString file = tiles.choose(cell.terrain, previousFile);
        if (file != previousFile || !tile) {
            auto found = fitted.find(file);
            if (found == fitted.end())
                found = fitted.emplace(file, scaled(cache.tile(file), cellSize)).first;
            tile = &found->second;
            previousFile = file;
        }
        const QPoint corner = worldCellCorner(frame, cell.x, cell.y) * scale;
        tile->drawInto(map.image, corner.x(), corner.y());
    }
    return map;
}

} // namespace tolvimar
