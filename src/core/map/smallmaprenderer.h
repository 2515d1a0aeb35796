#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

namespace tolvimar {

// Draws the small map: 9 rows of hexagon tiles around a centre region.
class SmallMapRenderer
{
public:
    // The terrain of the first region row at (x, y); nullopt when there is none.
    using TerrainLookup = std::function<std::optional<QString>(int x, int y)>;

    static constexpr QRgb kBackground = 0xff1b2028;

    explicit SmallMapRenderer(QString imagesDir);

    // The 261 x 261 picture around (cx, cy), cells drawn row by row from the top,
    // each from the left. A cell without a region shows "blank.bmp"; a terrain no
    // table lists keeps the tile of the cell before it. Throws UserError when a tile
    // file is missing or unreadable.
    QImage render(int cx, int cy, const TerrainLookup &terrainAt) const;

private:
    QString m_imagesDir;
};

} // namespace tolvimar
