#pragma once

#include <QStringList>

namespace tolvimar {

// What re-importing a turn kept of the orders the player had written.
struct CarriedOverOrders
{
    int units = 0; // blocks whose edited orders replaced the new template's
    QStringList gone; // unit texts of blocks whose unit the new report no longer has
};

// Carries the player's orders over into a freshly built template of the same turn:
// each unit block of the previous template whose orders differ from the new one's
// (matched by unit number) replaces them; blocks of units the new template lacks are
// kept as a comment block before the closing " NAECHSTER". Reads each template once.
CarriedOverOrders carryOverEditedOrders(const QStringList &previous, QStringList &fresh);

} // namespace tolvimar
