#include "platform/portable/ini_text.h"

#include "platform/portable/ascii_case.h"

namespace vorlanex::platform {
namespace {

// ^Z counts as a blank: old editors left it at the end of text files.
constexpr std::string_view kBlanks = " \t\n\v\f\r\x1a";

std::string_view trimLeft(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view trimRight(std::string_view s) {
  const auto last = s.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

std::string_view trim(std::string_view s) { return trimLeft(trimRight(s)); }

// Cuts the next line off `rest`; CR, LF and CRLF all end a line (a CRLF
// leaves an empty line behind, which is skipped like any blank line).
std::string_view nextLine(std::string_view& rest) {
  const auto end = rest.find_first_of("\r\n");
  const std::string_view line = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  return line;
}

// The name of a header line "[name]": it ends at the first ']', or at the end
// of the line when there is none; whatever follows the ']' is ignored.
std::string_view sectionName(std::string_view header) {
  return trim(header.substr(1, header.find(']', 1) - 1));
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

// Only lowercase prefixes switch base; a lone leading "0" stays decimal.
unsigned takeBasePrefix(std::string_view& digits) {
  if (digits.size() < 2 || digits[0] != '0') return 10;
  const unsigned base = digits[1] == 'x' ? 16 : digits[1] == 'o' ? 8 : digits[1] == 'b' ? 2 : 10;
  if (base != 10) digits.remove_prefix(2);
  return base;
}

}  // namespace

std::optional<std::string_view> findProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
  section = trim(section);
  key = trim(key);
  // Lines before the first header belong to no section, not to one named "".
  bool inSection = false;
  while (!text.empty()) {
    const std::string_view line = trim(nextLine(text));
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      // Only the first section of a name is searched.
      if (inSection) return std::nullopt;
      inSection = equalNoCase(sectionName(line), section);
      continue;
    }
    if (!inSection) continue;
    const auto equals = line.find('=');
    if (!equalNoCase(trimRight(line.substr(0, equals)), key)) continue;
    // The first line of a key decides, even when it has no value.
    if (equals == std::string_view::npos) return std::nullopt;
    return trimLeft(line.substr(equals + 1));
  }
  return std::nullopt;
}

std::string_view unquoteProfileValue(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

std::int32_t profileValueToInt(std::string_view value) {
  std::size_t start = 0;
  while (start < value.size() && static_cast<unsigned char>(value[start]) <= 0x20) ++start;
  value.remove_prefix(start);
  const bool negative = !value.empty() && value.front() == '-';
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) value.remove_prefix(1);
  const unsigned base = takeBasePrefix(value);
  std::uint32_t total = 0;  // unsigned: overflow wraps instead of being undefined
  for (const char c : value) {
    const int digit = digitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
    total = total * base + static_cast<unsigned>(digit);
  }
  if (negative) total = 0u - total;
  return static_cast<std::int32_t>(total);  // two's complement on every compiler we use
}

}  // namespace vorlanex::platform
