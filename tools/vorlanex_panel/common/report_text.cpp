#include "report_text.h"

#include <cstdio>

namespace vorlanex::tool {

std::string indexedKey(const char* prefix, int index) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%02d", prefix, index);
  return key;
}

std::string shortNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

}  // namespace vorlanex::tool
