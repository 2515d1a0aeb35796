#pragma once

#include <QString>

namespace tolvimar {

// A region as the maps draw it: x is `Breite`, y is `Länge`, terrain is `Regiontyp`.
struct MapCell
{
    int x = 0;
    int y = 0;
    QString terrain;
};

// Smallest and largest x and y of the regions of one level.
struct MapExtent
{
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;

    friend bool operator==(const MapExtent &, const MapExtent &) = default;
};

} // namespace tolvimar
