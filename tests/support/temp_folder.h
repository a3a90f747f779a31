// A fresh folder that stands for the simulator's root folder during one test:
// it becomes the current directory, so the module's relative paths
// (./Gauges/..., ./Sound/...) resolve inside it.
#pragma once

#include <filesystem>
#include <string>

namespace vorlanex::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes `content` byte for byte to `relativePath`, making its folders.
  void write(const std::string& relativePath, const std::string& content) const;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace vorlanex::test
