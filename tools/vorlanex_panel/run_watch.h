// `run --watch`: the script played again on every save of a file the run
// read, the author shown only what the save changed.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "run_command.h"

namespace vorlanex::tool {

// The lines of `after` that are not in `before`, and those of `before` no
// longer in `after`, as "+ line" and "- line" in the order of the logs,
// without context.
std::vector<std::string> changedLines(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after);

// Plays the script once with its whole log, then after each save of a file
// the run read: a heading naming the file, the log's changed lines and the
// summary line; for a save that cannot be read, its findings, and the last
// good run stays the one compared with. Every line is flushed as written.
// Returns only when `keepWatching` says so after a run (never from the
// command line, which the author interrupts).
int runWatching(const RunRequest& request, std::FILE* out,
                bool (*keepWatching)() = [] { return true; });

}  // namespace vorlanex::tool
