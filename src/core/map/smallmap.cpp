#include "smallmap.h"

namespace tolvimar {

void drawSmallMap(Session &)
{
    // The small map is drawn by the map views; nothing to prepare yet.
}

} // namespace tolvimar
