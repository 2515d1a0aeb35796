#pragma once

#include "hexgeometry.h"

#include <QImage>
#include <QList>
#include <QString>

namespace tolvimar {

// The three overlays of the world map: ships, own units and region messages. Each is
// a transparent picture of the world map's size that lies on the map and scales with
// it; drawing is aliased, so every mark has exact pixels.

// The world map the overlays lie on: its origin, its picture size and its level.
struct OverlayFrame
{
    int minX = 0;
    int minY = 0;
    QSize size;
    int level = 0;
    // The layer is drawn this many times larger (for a zoomed world map); its marks
    // grow with it instead of their pixels.
    int scale = 1;
    // The unit squares drawn filled inside the cell (2 pixels in from its edges), so
    // that neighbouring squares leave the terrain between them visible.
    bool fitted = false;

    WorldMapFrame world() const { return {minX, minY, size.height()}; }
};

// A ship of the active game: its position text, owner faction and `Info Datum`.
struct ShipMark
{
    QString position;
    int faction = 0;
    int infoDatum = 0;
};

// An own unit of the newest turn, in the order the units are listed.
struct UnitSquare
{
    QString position;
    QString flags;
};

// A region of the level shown, with its surroundings text (`Umgebung`).
struct RegionNews
{
    int x = 0;
    int y = 0;
    QString terrain;
    QString surroundings;
    int infoDatum = 0;
};

struct OverlayLayer
{
    QImage image;
    // Rows skipped because their position text is not "x/y" or "x/y/level".
    int badPositions = 0;
};

namespace OverlayColour {
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb Green = 0xff00ff00;
constexpr QRgb Magenta = 0xffff00ff;
} // namespace OverlayColour

// Ships of the newest turn on the level shown: a red dot in the box (left + 2, top + 2)
// to (left + 5, top + 5) for an own ship, a yellow one from (left + 4, top + 4) to
// (left + 7, top + 7) for any other; boxes exclude their right and bottom edge.
OverlayLayer shipsLayer(
    const QList<ShipMark> &ships, const OverlayFrame &frame, int ownFaction, int newestTurn);

// An 8 x 8 square outline on every cell of the level shown that holds own units:
// magenta when one of them is unmarked (no "x" or "X" in its flags), green when all are.
OverlayLayer unitsLayer(const QList<UnitSquare> &units, const OverlayFrame &frame);

// Regions with surroundings text: a red diamond with a yellow edge where it tells of the
// newest turn ("in Runde " + turn), else, for regions of the newest turn, a small
// yellow-and-red ring at the lower left of an ocean cell or a yellow triangle on land.
OverlayLayer regionMessagesLayer(
    const QList<RegionNews> &regions, const OverlayFrame &frame, int newestTurn);

// True when the text holds "in Runde " followed by the turn's decimal date code, and
// not by further digits (turn 701 is not turn 7012).
bool mentionsTurn(const QString &surroundings, int turn);

} // namespace tolvimar
