#pragma once

#include <QString>

namespace tolvimar {

// Starts a desktop calculator found on the PATH; returns false (and the names it
// looked for) when there is none.
bool startCalculator(QString *lookedFor = nullptr);

} // namespace tolvimar
