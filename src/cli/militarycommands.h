#pragma once

namespace tolvimar::cli {

struct Arguments;

// The military pages on the command line: groupings, group changes, armies, ships.
int groups(const Arguments &args);
int setGroup(const Arguments &args);
int army(const Arguments &args);
int ships(const Arguments &args);

} // namespace tolvimar::cli
