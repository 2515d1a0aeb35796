#pragma once

#include <QString>
#include <optional>

namespace tolvimar {

// A region's coordinates: x is `Breite`, y is `Länge`, level is `Ebene` (0 is the
// surface).
struct Position
{
    int x = 0;
    int y = 0;
    int level = 0;

    friend bool operator==(const Position &, const Position &) = default;
};

// The position text that ties units, ships and castles to their region: "x/y" on
// level 0, "x/y/level" on every other level (decimal, no blanks).
QString positionText(int x, int y, int level = 0);
inline QString positionText(const Position &p)
{
    return positionText(p.x, p.y, p.level);
}

// Reads "x/y" (level 0) or "x/y/level"; nullopt for anything else.
std::optional<Position> parsePosition(QStringView text);

} // namespace tolvimar
