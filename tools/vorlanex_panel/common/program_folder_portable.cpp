#include <filesystem>
#include <system_error>

#include "program_folder.h"

namespace vorlanex::tool {

std::string programFolder(const char* argv0) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path().string();
  return std::filesystem::absolute(argv0).parent_path().string();
}

}  // namespace vorlanex::tool
