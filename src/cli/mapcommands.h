#pragma once

namespace tolvimar::cli {

struct Arguments;

// The commands of the maps: the world map, the small map and the overlays.
int renderMap(const Arguments &args);
int smallMap(const Arguments &args);
int overlay(const Arguments &args);

} // namespace tolvimar::cli
