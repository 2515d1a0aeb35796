#pragma once

#include <QString>

namespace tolvimar {

struct ImportContext;

// The lines between the faction header and the first region: plain sections,
// battles, messages, alliances, addresses and factions, rendered into the report
// pages and the factions table. Each call applies the first rule that matches the
// line at the cursor and leaves the cursor on the first line it did not consume.
void applySectionRule(ImportContext &ctx);

// The page a message of the given type goes to; -1 for the 4419 rule that needs
// the text and the battle state. Exposed for tests.
int messageDestination(int type, const QString &text, bool inBattle);

} // namespace tolvimar
