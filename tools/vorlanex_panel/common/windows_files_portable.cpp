// Without Windows, names are matched the way Windows would match them.
#include <filesystem>

#include "windows_files.h"
#include "whole_file.h"
#include "platform/portable/windows_path.h"

namespace vorlanex::tool {

std::optional<std::string> readPanelFile(const std::string& path) {
  return readWholeFile(platform::resolveWindowsPath(path.c_str()));
}

std::optional<std::string> findPanelFile(const std::string& path) {
  std::string found = platform::resolveWindowsPath(path.c_str());
  std::error_code error;
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

bool panelFolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(platform::resolveWindowsPath(path.c_str()), error);
}

}  // namespace vorlanex::tool
