#pragma once

namespace tolvimar {

struct ImportContext;

// Each is called with the cursor on its block's header and returns with the cursor
// on the last line of the block.
void extractRegion(ImportContext &ctx);
void extractShip(ImportContext &ctx);
void extractCastle(ImportContext &ctx);
void extractUnit(ImportContext &ctx);

} // namespace tolvimar
