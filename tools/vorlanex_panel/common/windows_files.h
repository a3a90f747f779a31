// Reading the files of a panel, named the way panel authors write paths.
#pragma once

#include <optional>
#include <string>

namespace vorlanex::tool {

// The whole content of the file at `path`, relative to the current directory,
// found as Windows finds it (either separator, any letter case); nothing when
// it cannot be read.
std::optional<std::string> readPanelFile(const std::string& path);

// The path the file system knows the file at `path` by (found the same way),
// or nothing when there is no such file.
std::optional<std::string> findPanelFile(const std::string& path);

// Whether the folder at `path` is there, found the same way.
bool panelFolderExists(const std::string& path);

}  // namespace vorlanex::tool
