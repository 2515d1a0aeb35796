#pragma once

namespace tolvimar::cli {

struct Arguments;

// The commands around a game's report and order file.
int init(const Arguments &args);
int import(const Arguments &args);
int undoImport(const Arguments &args);
int status(const Arguments &args);
int check(const Arguments &args);

} // namespace tolvimar::cli
