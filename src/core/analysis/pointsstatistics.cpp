#include "pointsstatistics.h"

#include "../app/session.h"

namespace tolvimar {

void zeigePunkteStatistik(Session &)
{
}

} // namespace tolvimar
