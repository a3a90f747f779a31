#include <cstdio>

#include "platform/file_probe.h"

namespace vorlanex::platform {

bool fileOpensForReading(const char* path) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace vorlanex::platform
