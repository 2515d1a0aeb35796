#include "hexgeometry.h"

#include <algorithm>
#include <cmath>

namespace tolvimar {

namespace {

constexpr qint64 kFarAway = qint64(1) << 30;

int saturate(qint64 value)
{
    return int(std::clamp(value, -kFarAway, kFarAway));
}

int truncToInt(double value)
{
    return int(std::clamp(std::trunc(value), double(-kFarAway), double(kFarAway)));
}

// The row rule of both pointer conversions: t >= 0 counts from the row above.
int rowOf(double t)
{
    return t >= 0 ? truncToInt(t) + 1 : truncToInt(t);
}

// The column rule of both pointer conversions: negative u counts from the cell to the left.
int columnOf(double u)
{
    return u >= 0 ? truncToInt(u) : truncToInt(u) - 1;
}

} // namespace

qint64 roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return qint64(below);
    if (fraction > 0.5)
        return qint64(below) + 1;
    return std::fmod(below, 2.0) == 0 ? qint64(below) : qint64(below) + 1;
}

qint64 worldMapHeight(const MapExtent &extent)
{
    return kWorldCellPitch * roundHalfToEven(double(extent.maxY) - extent.minY + 1);
}

qint64 worldMapWidth(const MapExtent &extent)
{
    // In half cells, so that the sum stays exact: 2 (maxX - minX) + (maxY - minY) + 2.
    const qint64 halves
        = 2 * (qint64(extent.maxX) - extent.minX) + (qint64(extent.maxY) - extent.minY) + 2;
    return kWorldCellPitch * ((halves + 1) / 2);
}

QPoint worldCellCorner(const WorldMapFrame &frame, int x, int y)
{
    const qint64 dx = qint64(x) - frame.minX;
    const qint64 dy = qint64(y) - frame.minY;
    return {saturate(8 * dx + 4 * dy), saturate(frame.height - 8 * (1 + dy))};
}

RegionCoord worldRegionAt(const WorldMapFrame &frame, int px, int py)
{
    const double t = (double(frame.height) - 8 - py) / 8 + frame.minY;
    const int y = rowOf(t);
    const double u = double(frame.minY) / 2 + frame.minX + double(px) / 8 - double(y) / 2;
    return {columnOf(u), y};
}

int smallMapCellCount(int row)
{
    return row % 2 == 0 ? 10 : 9;
}

QPoint smallCellCorner(int row, int cell)
{
    const int shift = row % 2 == 0 ? kSmallCellPitch / 2 : 0;
    return {kSmallCellPitch * (cell - 1) - shift, kSmallCellPitch * (row - 1)};
}

RegionCoord smallCellRegion(int cx, int cy, int row, int cell)
{
    // k(i): 7 for rows 1 and 2, 6 for rows 3 and 4, ... 3 for row 9.
    const int k = 7 - (row - 1) / 2;
    return {saturate(qint64(cx) + cell - k), saturate(qint64(cy) + 5 - row)};
}

RegionCoord smallMapRegionAt(int cx, int cy, int px, int py, int height)
{
    const double pitch = kSmallCellPitch;
    const double t = (double(height) - pitch - py) / pitch + (double(cy) - 4);
    const int y = rowOf(t);
    const double u = (double(cy) - 4) / 2 + (double(cx) - 2) + px / pitch - double(y) / 2;
    return {columnOf(u), y};
}

} // namespace tolvimar
