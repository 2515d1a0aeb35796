#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace tolvimar {

// The program's own terrain tiles, drawn in code: a hexagon per terrain in the
// terrain's colour, on the small map with a symbol. The pixels around the hexagon
// carry MapTile's key colour, so the tiles interlock when drawn row by row.
//
// World tiles are 8 x 10: the hexagon's upper cap lies in the cell's top two rows and
// its lower cap reaches two rows down, into the notch between two cells of the row
// below. Small tiles are 29 x 38 in the same way, the lower cap reaching nine rows down.

// The built-in image of a tile file of either map; a null image for other names.
QImage tileArt(const QString &fileName);

// Writes every tile file of both maps that the images folder lacks, as BMP, and
// returns the names written. An existing file is never replaced: a player may have
// drawn it. Throws UserError naming the files that could not be written after
// writing all the others.
QStringList ensureTiles(const QString &imagesDir);

} // namespace tolvimar
