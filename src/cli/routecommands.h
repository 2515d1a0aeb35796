#pragma once

namespace tolvimar::cli {

struct Arguments;

// The way of a unit or its ship to a region, and its NACH order.
int route(const Arguments &args);

} // namespace tolvimar::cli
