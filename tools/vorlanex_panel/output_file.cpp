#include "output_file.h"

#include <fstream>
#include <stdexcept>

namespace vorlanex::panel {

void writeOutputFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary);
  file << content;
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace vorlanex::panel
