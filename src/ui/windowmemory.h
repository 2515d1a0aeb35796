#pragma once

class QMainWindow;

namespace tolvimar {

// The main window's size, position, tool bar and splitter positions, kept in the
// desktop settings from one run to the next.
class WindowMemory
{
public:
    // Puts the window where the last run left it; false when nothing was kept.
    static bool restore(QMainWindow &window);
    static void save(const QMainWindow &window);
};

} // namespace tolvimar
