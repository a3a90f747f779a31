#include "ini_path_rules.h"

#include <cstring>

#include "config/load_configuration.h"

namespace vorlanex::tool {

std::optional<PathProblem> iniPathProblem(const std::string& path) {
  if (path.size() >= static_cast<std::size_t>(kIniPathSize)) {
    return PathProblem{Severity::kError,
                       "the INI path is " + std::to_string(path.size()) +
                           " characters long: the module reads no INI file for a path over " +
                           std::to_string(kIniPathSize - 1) + ", and every default applies"};
  }
  if (!path.empty() && std::strpbrk(path.c_str(), "\\/") == nullptr) {
    return PathProblem{Severity::kWarning,
                       "the INI path '" + path + "' has no folder: Windows looks for it in the "
                       "Windows directory, not in the simulator's folder (write .\\Gauges\\" +
                           path + ")"};
  }
  return std::nullopt;
}

}  // namespace vorlanex::tool
