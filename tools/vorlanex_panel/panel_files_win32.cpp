// Windows finds the file itself, whatever separators and case the path has.
#include <fstream>
#include <iterator>

#include "panel_files.h"

namespace vorlanex::panel {

std::optional<std::string> readPanelFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace vorlanex::panel
