#include "text_encoding.h"

#include <cstdint>
#include <stdexcept>

namespace vorlanex::tool {
namespace {

bool startsWith(const std::string& bytes, const char* mark, std::size_t length) {
  return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
}

void appendUtf8(std::string& text, std::uint32_t code) {
  const auto byte = [&](std::uint32_t value) { text += static_cast<char>(value); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | (code >> 6));
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | (code >> 12));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18));
    byte(0x80 | ((code >> 12) & 0x3F));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

DecodedText fromUtf16(const std::string& bytes, bool littleEndian) {
  const std::string order = littleEndian ? "UTF-16 LE" : "UTF-16 BE";
  if (bytes.size() % 2 != 0) {
    return {"", order + " text of " + std::to_string(bytes.size()) +
                    " bytes, an odd number, cut short"};
  }
  const auto unitAt = [&](std::size_t at) -> std::uint32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return littleEndian ? first | (second << 8) : (first << 8) | second;
  };
  std::string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t at = 2; at < bytes.size(); at += 2) {
    std::uint32_t code = unitAt(at);
    if (isHighSurrogate(code) && at + 2 < bytes.size() && isLowSurrogate(unitAt(at + 2))) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
      at += 2;
    } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
      return {"", order + " text with an unpaired surrogate at byte " + std::to_string(at)};
    }
    appendUtf8(text, code);
  }
  return {std::move(text), ""};
}

}  // namespace

DecodedText decodeText(std::string bytes) {
  if (startsWith(bytes, "\xEF\xBB\xBF", 3)) return {bytes.substr(3), ""};
  if (startsWith(bytes, "\xFF\xFE", 2)) return fromUtf16(bytes, true);
  if (startsWith(bytes, "\xFE\xFF", 2)) return fromUtf16(bytes, false);
  return {std::move(bytes), ""};
}

std::string decodedTextOf(std::string bytes, const std::string& shown) {
  DecodedText decoded = decodeText(std::move(bytes));
  if (!decoded.problem.empty())
    throw std::runtime_error("cannot read " + shown + ": " + decoded.problem);
  return std::move(decoded.text);
}

}  // namespace vorlanex::tool
