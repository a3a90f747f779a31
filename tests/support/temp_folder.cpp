#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace vorlanex::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() : previous_(fs::current_path()) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("vorlanex-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
  fs::current_path(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& relativePath, const std::string& content) const {
  const fs::path file = path_ / relativePath;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace vorlanex::test
