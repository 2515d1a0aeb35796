#pragma once

#include "maptile.h"

#include <QString>
#include <unordered_map>

namespace tolvimar {

// The tiles of one drawing, each file loaded at most once. A new cache for every
// drawing lets a player's replaced bitmap show on the next one.
class TileCache
{
public:
    explicit TileCache(QString imagesDir);

    // The tile of a file of the images folder. Throws UserError naming the file when
    // it is missing or cannot be read as an image.
    const MapTile &tile(const QString &fileName);

private:
    QString m_imagesDir;
    // Node-based, so references handed out stay valid while more tiles load.
    std::unordered_map<QString, MapTile> m_tiles;
};

} // namespace tolvimar
