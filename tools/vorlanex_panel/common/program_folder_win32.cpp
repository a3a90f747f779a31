#define NOMINMAX
#include <windows.h>

#include <filesystem>

#include "program_folder.h"

namespace vorlanex::tool {

std::string programFolder(const char* argv0) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::filesystem::path(path).parent_path().string();
  return std::filesystem::absolute(argv0).parent_path().string();
}

}  // namespace vorlanex::tool
