#include "platform/portable/windows_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/portable/ascii_case.h"

namespace fs = std::filesystem;

namespace vorlanex::platform {
namespace {

// The name under which `name` exists in `directory`, or "" when it does not.
std::string findEntry(const std::string& directory, const std::string& name) {
  std::error_code error;
  if (fs::exists(fs::path(directory) / name, error)) return name;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (equalNoCase(entry, name)) return entry;
  }
  return {};
}

}  // namespace

std::string resolveWindowsPath(const char* path) {
  if (path == nullptr) return {};
  std::string converted(path);
  std::replace(converted.begin(), converted.end(), '\\', '/');
  // Names equal without regard to ASCII case have the same length, so each
  // component is corrected in place.
  std::string resolved = converted;
  for (std::size_t start = 0; start < resolved.size();) {
    const std::size_t end = std::min(resolved.find('/', start), resolved.size());
    if (end > start) {
      const std::string directory = start == 0 ? "." : resolved.substr(0, start);
      const std::string found = findEntry(directory, resolved.substr(start, end - start));
      if (found.empty()) return converted;
      resolved.replace(start, end - start, found);
    }
    start = end + 1;
  }
  return resolved;
}

}  // namespace vorlanex::platform
