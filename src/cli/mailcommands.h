#pragma once

namespace tolvimar::cli {

struct Arguments;

// Sends the order file of a slot by e-mail, checked first.
int send(const Arguments &args);

} // namespace tolvimar::cli
