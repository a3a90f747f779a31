// Names in gauge files and panel.cfg compared as the simulator compares them:
// without regard to ASCII case, whatever the locale.
#pragma once

#include <string>
#include <string_view>

namespace vorlanex::gauges {

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = lowerAscii(c);
  return lower;
}

inline std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = upperAscii(c);
  return upper;
}

inline bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace vorlanex::gauges
