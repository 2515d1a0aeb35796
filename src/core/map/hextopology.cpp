#include "hextopology.h"

#include <cstdlib>
#include <limits>

namespace tolvimar {

namespace {

struct DirectionInfo
{
    const char16_t *word;
    int dx;
    int dy;
    int roadField;
};

// In the order of HexDirection.
constexpr DirectionInfo kDirections[] = {
    {u"o", 1, 0, 2},
    {u"no", 0, 1, 1},
    {u"nw", -1, 1, 0},
    {u"w", -1, 0, 5},
    {u"sw", 0, -1, 4},
    {u"so", 1, -1, 3},
};

const DirectionInfo &info(HexDirection direction)
{
    return kDirections[int(direction)];
}

} // namespace

QString directionWord(HexDirection direction)
{
    return QString::fromUtf16(info(direction).word);
}

std::optional<HexDirection> directionOfWord(QStringView word)
{
    for (HexDirection d : kHexDirections) {
        if (word.compare(QStringView(info(d).word), Qt::CaseInsensitive) == 0)
            return d;
    }
    return std::nullopt;
}

HexDirection oppositeDirection(HexDirection direction)
{
    return HexDirection((int(direction) + 3) % 6);
}

bool hasNeighbour(RegionCoord from, HexDirection direction)
{
    const qint64 x = qint64(from.x) + info(direction).dx;
    const qint64 y = qint64(from.y) + info(direction).dy;
    return x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max()
        && y >= std::numeric_limits<int>::min() && y <= std::numeric_limits<int>::max();
}

RegionCoord neighbour(RegionCoord from, HexDirection direction)
{
    return {from.x + info(direction).dx, from.y + info(direction).dy};
}

std::array<RegionCoord, 6> neighbours(RegionCoord from)
{
    std::array<RegionCoord, 6> result;
    for (HexDirection d : kHexDirections)
        result[size_t(d)] = neighbour(from, d);
    return result;
}

std::optional<HexDirection> stepDirection(RegionCoord from, RegionCoord to)
{
    const qint64 dx = qint64(to.x) - from.x;
    const qint64 dy = qint64(to.y) - from.y;
    for (HexDirection d : kHexDirections) {
        if (info(d).dx == dx && info(d).dy == dy)
            return d;
    }
    return std::nullopt;
}

qint64 hexDistance(RegionCoord a, RegionCoord b)
{
    // x and y are axial coordinates: the third one is -x-y.
    const qint64 dx = qint64(b.x) - a.x;
    const qint64 dy = qint64(b.y) - a.y;
    return (std::llabs(dx) + std::llabs(dy) + std::llabs(dx + dy)) / 2;
}

int roadField(HexDirection direction)
{
    return info(direction).roadField;
}

HexDirection directionOfRoadField(int field)
{
    for (HexDirection d : kHexDirections) {
        if (info(d).roadField == field)
            return d;
    }
    return HexDirection::East;
}

} // namespace tolvimar
