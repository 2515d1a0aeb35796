#pragma once

namespace tolvimar::cli {

struct Arguments;

// The commands around a unit: its view, its block of the order file, new orders.
int unit(const Arguments &args);
int orders(const Arguments &args);
int setOrders(const Arguments &args);

} // namespace tolvimar::cli
