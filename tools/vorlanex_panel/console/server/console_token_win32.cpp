#define NOMINMAX
#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

#include "console_token.h"

namespace vorlanex::tool {

std::string consoleToken() {
  unsigned char bytes[16];
  if (BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    throw std::runtime_error("BCryptGenRandom gave no bytes for the console's token");
  }
  return hexText(bytes, sizeof bytes);
}

}  // namespace vorlanex::tool
