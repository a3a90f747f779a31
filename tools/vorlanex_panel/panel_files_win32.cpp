// Windows finds the file itself, whatever separators and case the path has.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "panel_files.h"

namespace vorlanex::panel {

std::optional<std::string> readPanelFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::optional<std::string> findPanelFile(const std::string& path) {
  std::string found = path;
  std::error_code error;
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

}  // namespace vorlanex::panel
