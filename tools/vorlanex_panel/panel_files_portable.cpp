// Without Windows, names are matched the way Windows would match them.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "panel_files.h"
#include "platform/portable/windows_path.h"

namespace vorlanex::panel {

std::optional<std::string> readPanelFile(const std::string& path) {
  std::ifstream file(platform::resolveWindowsPath(path.c_str()), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::optional<std::string> findPanelFile(const std::string& path) {
  std::string found = platform::resolveWindowsPath(path.c_str());
  std::error_code error;
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

}  // namespace vorlanex::panel
