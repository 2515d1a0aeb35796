#pragma once

namespace tolvimar {

class Session;

// Draws the small map around the current position.
void drawSmallMap(Session &session);

} // namespace tolvimar
