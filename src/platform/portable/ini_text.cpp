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

bool ProfileLineReader::next(ProfileLine& line) {
  while (!rest_.empty()) {
    // CR, LF and CRLF all end a line; the LF of a CRLF ends nothing more.
    const auto end = rest_.find_first_of("\r\n");
    const std::string_view raw = rest_.substr(0, end);
    const char ending = end == std::string_view::npos ? '\0' : rest_[end];
    rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
    const bool crlf = lastEnd_ == '\r' && ending == '\n' && raw.empty();
    lastEnd_ = ending;
    if (crlf) continue;

    line.number = ++number_;
    line.text = trim(raw);
    line.name = {};
    line.value = std::nullopt;
    if (line.text.empty()) {
      line.kind = ProfileLine::Kind::kBlank;
    } else if (line.text[0] == ';') {
      line.kind = ProfileLine::Kind::kComment;
    } else if (line.text[0] == '[') {
      line.kind = ProfileLine::Kind::kSection;
      line.name = sectionName(line.text);
    } else {
      line.kind = ProfileLine::Kind::kKey;
      const auto equals = line.text.find('=');
      line.name = trimRight(line.text.substr(0, equals));
      if (equals != std::string_view::npos) line.value = trimLeft(line.text.substr(equals + 1));
    }
    return true;
  }
  return false;
}

std::optional<std::string_view> findProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
  section = trim(section);
  key = trim(key);
  // Lines before the first header belong to no section, not to one named "".
  bool inSection = false;
  ProfileLineReader lines(text);
  ProfileLine line;
  while (lines.next(line)) {
    if (line.kind == ProfileLine::Kind::kSection) {
      // Only the first section of a name is searched.
      if (inSection) return std::nullopt;
      inSection = equalNoCase(line.name, section);
      continue;
    }
    if (line.kind != ProfileLine::Kind::kKey || !inSection) continue;
    // The first line of a key decides, even when it has no value.
    if (equalNoCase(line.name, key)) return line.value;
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
