#include <fstream>
#include <stdexcept>

#include "console_token.h"

namespace vorlanex::tool {

std::string consoleToken() {
  unsigned char bytes[16];
  std::ifstream random("/dev/urandom", std::ios::binary);
  if (!random.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
    throw std::runtime_error("cannot read /dev/urandom for the console's token");
  }
  return hexText(bytes, sizeof bytes);
}

}  // namespace vorlanex::tool
