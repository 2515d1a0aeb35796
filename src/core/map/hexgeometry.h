#pragma once

#include "../base/mapcell.h"

#include <QPoint>
#include <QtGlobal>

namespace tolvimar {

// Hex geometry of the world map and the small map. On both maps y grows upwards and
// each step of y shifts a row half a cell to the right, so x + y/2 is the horizontal
// position in cells.

// A region's map coordinates: x is `Breite`, y is `Länge`.
struct RegionCoord
{
    int x = 0;
    int y = 0;

    friend bool operator==(const RegionCoord &, const RegionCoord &) = default;
};

// What every pixel <-> region conversion of the world map needs: the origin (the
// smallest x and y of the level) and the picture's height.
struct WorldMapFrame
{
    int minX = 0;
    int minY = 0;
    int height = 0;
};

// Nearest whole number, halves to the even neighbour (4.5 -> 4, 5.5 -> 6).
qint64 roundHalfToEven(double value);

constexpr int kWorldCellPitch = 8;

// H = 8 * round(maxY - minY + 1) and W = 8 * ceil(maxX - minX + (maxY - minY) / 2 + 1):
// with an odd span of y the width ends 4 pixels beyond the last half cell, so that no
// cell at the right edge is cut.
// 64-bit, so that a caller can refuse an absurd extent before allocating.
qint64 worldMapHeight(const MapExtent &extent);
qint64 worldMapWidth(const MapExtent &extent);

// Top-left corner of the cell of (x, y): left = 8 * (x - minX) + 4 * (y - minY),
// top = height - 8 * (1 + y - minY). Cells far outside any picture saturate at
// +-2^30, so small offsets added by the caller cannot overflow.
QPoint worldCellCorner(const WorldMapFrame &frame, int x, int y);

// The region under pixel (px, py) of the world map. On the top pixel line of a cell
// with t >= 0 this gives the row above, on the left pixel column of a cell with u < 0
// the cell to the left.
RegionCoord worldRegionAt(const WorldMapFrame &frame, int px, int py);

// The small map: 9 rows of 29-pixel cells, 261 x 261 pixels. Rows are numbered 1
// (top) to 9, cells 1 (left) to 9 in odd rows and to 10 in even rows, which are
// shifted half a cell (14 pixels) to the left.
constexpr int kSmallMapSize = 261;
constexpr int kSmallCellPitch = 29;
constexpr int kSmallMapRows = 9;

int smallMapCellCount(int row);
QPoint smallCellCorner(int row, int cell);
// The region shown in a cell of the small map around the centre (cx, cy).
RegionCoord smallCellRegion(int cx, int cy, int row, int cell);
// The region under pixel (px, py) of a small map of the given height around (cx, cy).
RegionCoord smallMapRegionAt(int cx, int cy, int px, int py, int height = kSmallMapSize);

} // namespace tolvimar
