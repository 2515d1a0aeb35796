#pragma once

namespace tolvimar::cli {

struct Arguments;

// The commands around map data files and regions entered by hand.
int exportMap(const Arguments &args);
int importMap(const Arguments &args);
int addRegion(const Arguments &args);

} // namespace tolvimar::cli
