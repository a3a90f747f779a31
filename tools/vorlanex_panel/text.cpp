#include "text.h"

#include <cstdio>

#include "platform/portable/ascii_case.h"

namespace vorlanex::panel {

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

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string lowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = platform::asciiLower(c);
  return result;
}

}  // namespace vorlanex::panel
