#pragma once

#include <QStringView>

namespace tolvimar {

// A unit, ship or building number that a user typed as base-N text (digits 0-9 and
// letters a-z in any case, each below the base). True with the value when the text is
// such a number from 1 to 2^31 - 1; a longer one would wrap onto another unit.
bool parseIdentifierText(QStringView text, int base, int *value);

} // namespace tolvimar
