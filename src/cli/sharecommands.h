#pragma once

namespace tolvimar::cli {

struct Arguments;

// The alliance's map on a PostgreSQL server: push, pull or both.
int share(const Arguments &args);

} // namespace tolvimar::cli
