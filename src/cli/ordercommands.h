#pragma once

namespace tolvimar::cli {

struct Arguments;

// Writing orders on the command line: the checker's problems and the hints on their
// units, the completion of the order editor.
int problems(const Arguments &args);
int complete(const Arguments &args);

} // namespace tolvimar::cli
