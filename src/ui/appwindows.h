#pragma once

#include "mainwindow.h"

#include <memory>

namespace tolvimar {

// Creates the program's eight windows in their fixed order: main window, settings,
// game selection, manual region entry, import progress, order editor, About box and
// checker output. The last one disables the main window and shows the selection.
std::unique_ptr<MainWindow> createWindows(
    Session &session, Prompter &prompter, bool showMaximized = true);

} // namespace tolvimar
