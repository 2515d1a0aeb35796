#pragma once

#include <QIcon>
#include <QImage>

namespace tolvimar {

// The program's own icon: seven hexagon regions of different terrains, drawn in code
// so that every size is sharp.
QImage appIconImage(int size);
QIcon appIcon();

} // namespace tolvimar
