#include "plain_text.h"

#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {

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

}  // namespace vorlanex::tool
