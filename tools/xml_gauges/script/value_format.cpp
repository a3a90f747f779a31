#include "value_format.h"

#include <charconv>
#include <cmath>

#include "operators.h"
#include "value_text.h"

namespace vorlanex::gauges {
namespace {

constexpr int kLargestWidth = 64;
constexpr int kLargestPrecision = 20;

std::string numberIn(double number, const ValueFormat& format) {
  char buffer[400];  // %f of 1e308 at precision 20 stands in it
  std::to_chars_result written{buffer, std::errc()};
  const int precision = format.precision < 0 ? 6 : format.precision;
  switch (format.conversion) {
    case 'd':  // the nearest whole number, half away from zero, as the simulator shows it
      written = std::to_chars(buffer, buffer + sizeof buffer, wholeNumber(std::round(number)));
      break;
    case 'x':
    case 'X':
      written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned long long>(wholeNumber(number)), 16);
      break;
    case 'f':
      written = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, precision);
      break;
    case 'e':
      written = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, precision);
      break;
    case 'g':
      written = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, precision);
      break;
    default: return std::string(numberText(number, buffer));
  }
  if (written.ec != std::errc()) return "?";
  std::string text(buffer, written.ptr);
  if (format.conversion == 'X') {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  }
  if (format.plusSign && !text.empty() && text.front() != '-') text.insert(text.begin(), '+');
  return text;
}

std::string padded(std::string text, const ValueFormat& format, bool isNumber) {
  if (static_cast<int>(text.size()) >= format.width) return text;
  const size_t missing = static_cast<size_t>(format.width) - text.size();
  if (format.leftAligned) return text + std::string(missing, ' ');
  if (format.zeroPadded && isNumber) {
    const size_t sign = !text.empty() && (text.front() == '-' || text.front() == '+') ? 1 : 0;
    return text.insert(sign, missing, '0');
  }
  return std::string(missing, ' ') + text;
}

}  // namespace

std::optional<ValueFormat> parseValueFormat(std::string_view text) {
  ValueFormat format;
  size_t at = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '0') {
      format.zeroPadded = true;
    } else if (c == '-') {
      format.leftAligned = true;
    } else if (c == '+') {
      format.plusSign = true;
    } else if (c != ' ') {
      break;
    }
  }
  const auto digits = [&](int largest) {
    int number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
      number = std::min(number * 10 + (text[at++] - '0'), largest);
    }
    return number;
  };
  format.width = digits(kLargestWidth);
  if (at < text.size() && text[at] == '.') {
    ++at;
    format.precision = digits(kLargestPrecision);
  }
  if (at + 1 != text.size()) return std::nullopt;
  const char conversion = text[at];
  if (conversion == 'i') {
    format.conversion = 'd';
  } else if (std::string_view("dfegxXs").find(conversion) != std::string_view::npos) {
    format.conversion = conversion;
  } else {
    return std::nullopt;
  }
  return format;
}

std::string formatValue(const Value& value, const ValueFormat& format) {
  if (format.conversion == 's' && value.isText) {
    std::string text = value.text;
    if (format.precision >= 0 && text.size() > static_cast<size_t>(format.precision)) {
      text.resize(static_cast<size_t>(format.precision));
    }
    return padded(std::move(text), format, false);
  }
  return padded(numberIn(value.number, format), format, true);
}

}  // namespace vorlanex::gauges
