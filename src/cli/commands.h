#pragma once

#include <QStringList>

namespace tolvimar::cli {

// Runs one command line (arguments including the program name); returns the exit
// status: 0 success, 1 refused, 2 usage or error.
int run(const QStringList &arguments);

} // namespace tolvimar::cli
