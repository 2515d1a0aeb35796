#pragma once

namespace tolvimar::cli {

struct Arguments;

// What the region view shows for one region of a game, as text.
int region(const Arguments &args);

} // namespace tolvimar::cli
