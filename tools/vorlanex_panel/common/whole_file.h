// Whole files the tool reads and writes: the files of a panel, the scripts
// it plays, and the files the author names for it to write (a timeline, a
// recorded session).
#pragma once

#include <optional>
#include <string>

namespace vorlanex::tool {

// The whole content of the file at `path` (a path as the file system takes
// it), or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes `content` to `path` (a path as the file system takes it), replacing
// what was there. Throws std::runtime_error "cannot write PATH" on failure.
void writeOutputFile(const std::string& path, const std::string& content);

}  // namespace vorlanex::tool
