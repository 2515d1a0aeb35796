#pragma once

#include "hexgeometry.h"

#include <QString>
#include <array>
#include <optional>

namespace tolvimar {

// Which regions touch which on a level. The six neighbours of (x, y), with the
// direction words of the game's orders:
//   o (x+1, y)   no (x, y+1)   nw (x-1, y+1)   w (x-1, y)   sw (x, y-1)   so (x+1, y-1)
// Rows grow upwards and each row is shifted half a cell to the right, so these are
// the cells east, north-east, north-west, west, south-west and south-east on both maps.
enum class HexDirection { East, NorthEast, NorthWest, West, SouthWest, SouthEast };

inline constexpr std::array<HexDirection, 6> kHexDirections
    = {HexDirection::East, HexDirection::NorthEast, HexDirection::NorthWest, HexDirection::West,
        HexDirection::SouthWest, HexDirection::SouthEast};

// "o", "no", "nw", "w", "sw", "so".
QString directionWord(HexDirection direction);
// The direction of a word of an order, in any case; nullopt for any other text.
std::optional<HexDirection> directionOfWord(QStringView word);
HexDirection oppositeDirection(HexDirection direction);

// Whether the neighbour's coordinates fit in an int; at the edge of the range of
// coordinates a region has fewer neighbours.
bool hasNeighbour(RegionCoord from, HexDirection direction);
// The neighbour in a direction; from must have it (hasNeighbour).
RegionCoord neighbour(RegionCoord from, HexDirection direction);
std::array<RegionCoord, 6> neighbours(RegionCoord from);
// The direction of a step to a neighbouring region; nullopt when `to` is no neighbour.
std::optional<HexDirection> stepDirection(RegionCoord from, RegionCoord to);
// The number of steps between two regions of a level.
qint64 hexDistance(RegionCoord a, RegionCoord b);

// The regions table keeps a region's roads in six fields, `Strasse` and `Strasse1`
// ... `Strasse5`, for the directions nw, no, o, so, sw, w in that order.
int roadField(HexDirection direction);
HexDirection directionOfRoadField(int field);

} // namespace tolvimar
