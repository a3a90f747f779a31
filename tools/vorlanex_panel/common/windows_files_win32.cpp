// Windows finds the file itself, whatever separators and case the path has.
#include <filesystem>

#include "windows_files.h"
#include "whole_file.h"

namespace vorlanex::tool {

std::optional<std::string> readPanelFile(const std::string& path) {
  return readWholeFile(path);
}

std::optional<std::string> findPanelFile(const std::string& path) {
  std::string found = path;
  std::error_code error;
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

bool panelFolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace vorlanex::tool
