#include "platform/portable/windows_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

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

// A component as Windows names it: the last one of a path loses its trailing
// blanks and dots, any other a single trailing dot ("Cabin." is "Cabin").
// Runs of three or more dots are names of their own and stay.
std::string windowsComponent(std::string name, bool last) {
  if (name.find_first_not_of('.') == std::string::npos) return name;
  if (last) {
    name.erase(name.find_last_not_of(". ") + 1);
  } else if (name.size() >= 2 && name.back() == '.' && name[name.size() - 2] != '.') {
    name.pop_back();
  }
  return name;
}

// The components of a path as Windows reads them: either separator, runs of
// separators as one, "." dropped and ".." taking the component before it
// away, whether or not that one exists.
std::vector<std::string> windowsComponents(const std::string& path, bool absolute) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start < path.size();) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  const bool endsWithSeparator = !path.empty() && (path.back() == '/' || path.back() == '\\');
  std::vector<std::string> components;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size() && !endsWithSeparator;
    const std::string name = windowsComponent(names[i], last);
    if (name == ".") continue;
    if (name == "..") {
      if (!components.empty() && components.back() != "..") {
        components.pop_back();
      } else if (!absolute) {
        components.push_back(name);
      }
      continue;
    }
    components.push_back(name);
  }
  return components;
}

}  // namespace

std::string resolveWindowsPath(const char* path) {
  if (path == nullptr || path[0] == '\0') return {};
  const bool absolute = path[0] == '/' || path[0] == '\\';
  std::string resolved = absolute ? "/" : "";
  std::string directory = absolute ? "/" : ".";
  bool found = true;
  for (const std::string& component : windowsComponents(path, absolute)) {
    // Once a component is missing, the rest are taken as written: opening
    // the path then fails as usual.
    std::string name = component;
    if (found && component != "..") {
      const std::string entry = findEntry(directory, component);
      found = !entry.empty();
      if (found) name = entry;
    }
    if (!resolved.empty() && resolved.back() != '/') resolved += '/';
    resolved += name;
    directory = resolved;
  }
  if (resolved.empty()) return ".";
  // A name followed by a separator is a folder's: a file is not found so.
  const char last = path[std::char_traits<char>::length(path) - 1];
  if ((last == '/' || last == '\\') && resolved.back() != '/') resolved += '/';
  return resolved;
}

}  // namespace vorlanex::platform
