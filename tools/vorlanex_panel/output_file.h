// Files the author names on the command line for the tool to write: a
// timeline, a recorded session.
#pragma once

#include <string>

namespace vorlanex::panel {

// Writes `content` to `path` (a path as the file system takes it), replacing
// what was there. Throws std::runtime_error "cannot write PATH" on failure.
void writeOutputFile(const std::string& path, const std::string& content);

}  // namespace vorlanex::panel
