#pragma once

#include <QStringList>

namespace tolvimar {

// What re-importing a turn kept of the orders the player had written.
struct CarriedOverOrders
{
    int units = 0; // unit blocks whose edited lines replaced the new template's
    int places = 0; // other places (head, regions, after NAECHSTER) whose lines did
    QStringList gone; // unit texts of blocks whose unit the new report no longer has
    QStringList deleted; // unit texts of blocks the player had deleted
};

// Carries the player's orders over into a freshly built template of the same turn.
// Both are read as pieces: the head, each region's and each unit's lines up to the
// next header (blank lines included, as the game reads them), and what follows
// NAECHSTER. A piece of the previous template whose lines differ from the new one's
// (matched by unit number or region place) replaces them; unit pieces the new
// template lacks are kept as a comment block before the closing " NAECHSTER"; unit
// pieces the previous template lacks (deleted by the player) stay out and follow as
// a comment block, so that nothing deleted comes back and nothing written is lost.
CarriedOverOrders carryOverEditedOrders(const QStringList &previous, QStringList &fresh);

} // namespace tolvimar
