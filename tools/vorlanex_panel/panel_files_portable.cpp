// Without Windows, names are matched the way Windows would match them.
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

}  // namespace vorlanex::panel
