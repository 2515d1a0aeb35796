#pragma once

#include <QImage>

namespace tolvimar {

// The tool-bar icons of the ship and unit overlays (`ToolButton1`, `ToolButton2`):
// 35 x 35, transparent around the figure.
QImage shipsIcon();
QImage unitsIcon();

} // namespace tolvimar
