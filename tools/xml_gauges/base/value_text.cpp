#include "value_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace vorlanex::gauges {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// How many characters of `text` make a decimal number: sign, digits, a
// fraction, an exponent. 0 when there is no digit.
size_t numberLength(std::string_view text) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  size_t digits = 0;
  while (at < text.size() && isDigit(text[at])) ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && isDigit(text[at])) ++at, ++digits;
  }
  if (digits == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
    if (exponent < text.size() && isDigit(text[exponent])) {
      at = exponent;
      while (at < text.size() && isDigit(text[at])) ++at;
    }
  }
  return at;
}

double readNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  // Out of range: from_chars leaves the value alone, so say what it means.
  if (result.ec == std::errc::result_out_of_range) {
    const bool negative = text.front() == '-';
    const size_t e = text.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
    value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
  }
  return value;
}

}  // namespace

bool parseNumber(std::string_view text, double& value) {
  const size_t length = numberLength(text);
  if (length == 0 || length != text.size()) return false;
  value = readNumber(text);
  return true;
}

double numberPrefix(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  const size_t length = numberLength(text);
  return length == 0 ? 0.0 : readNumber(text.substr(0, length));
}

std::string_view numberText(double value, char* buffer) {
  if (value == 0.0) value = 0.0;  // no "-0"
  const auto result = std::to_chars(buffer, buffer + 32, value);
  return {buffer, static_cast<size_t>(result.ptr - buffer)};
}

}  // namespace vorlanex::gauges
