#pragma once

#include <QHashFunctions>
#include <QMetaType>
#include <QString>
#include <compare>
#include <optional>

namespace tolvimar {

// A region's place: x is `Breite`, y is `Länge`, level is `Ebene` (0 is the surface).
// The one type for a place wherever it travels inside the program (signals, row keys,
// sets and maps); its text is made only where it is shown or stored.
struct Position
{
    int x = 0;
    int y = 0;
    int level = 0;

    friend bool operator==(const Position &, const Position &) = default;
    // By level, then x, then y: the order of position columns in the report grids.
    friend std::strong_ordering operator<=>(const Position &a, const Position &b)
    {
        if (const auto c = a.level <=> b.level; c != 0)
            return c;
        if (const auto c = a.x <=> b.x; c != 0)
            return c;
        return a.y <=> b.y;
    }
};

inline size_t qHash(const Position &p, size_t seed = 0) noexcept
{
    return qHashMulti(seed, p.x, p.y, p.level);
}

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

// Places travel in QVariant row keys.
Q_DECLARE_METATYPE(tolvimar::Position)
