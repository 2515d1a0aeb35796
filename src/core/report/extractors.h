#pragma once

namespace tolvimar {

struct ImportContext;

// Each is called with the cursor on its block's header and returns with the cursor
// on the last line of the block.
void getRegionInfo(ImportContext &ctx);
void getSchiffInfo(ImportContext &ctx);
void getBurgInfo(ImportContext &ctx);
void getEinheitenInfo(ImportContext &ctx);

} // namespace tolvimar
