#pragma once

namespace tolvimar {

class Session;

// Fills the points statistics grid of the active game from its faction rows.
void zeigePunkteStatistik(Session &session);

} // namespace tolvimar
