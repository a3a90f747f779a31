#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/file_probe.h"
#include "platform/portable/windows_path.h"

namespace vorlanex::platform {

bool fileOpensForReading(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  const std::string native = resolveWindowsPath(path);
  std::FILE* file = std::fopen(native.c_str(), "r");
  if (file == nullptr) return false;
  struct stat info {};
  const bool isFolder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
  std::fclose(file);
  return !isFolder;
}

}  // namespace vorlanex::platform
