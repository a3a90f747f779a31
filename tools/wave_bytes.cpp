#include "wave_bytes.h"

namespace vorlanex::wavebytes {

std::string u16(std::uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string u32(std::uint32_t value) {
  return u16(static_cast<std::uint16_t>(value & 0xFFFF)) +
         u16(static_cast<std::uint16_t>(value >> 16));
}

std::string chunkHeader(const char* id, std::uint32_t size) {
  return std::string(id, 4) + u32(size);
}

std::string chunk(const char* id, const std::string& contents) {
  std::string bytes = chunkHeader(id, static_cast<std::uint32_t>(contents.size())) + contents;
  if (contents.size() % 2 != 0) bytes += '\0';
  return bytes;
}

std::string riff(const char* form, const std::string& chunks) {
  return chunkHeader("RIFF", static_cast<std::uint32_t>(4 + chunks.size())) + std::string(form, 4) +
         chunks;
}

std::string formatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                         std::uint16_t bits) {
  const auto blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  return u16(tag) + u16(channels) + u32(rate) + u32(rate * blockAlign) + u16(blockAlign) +
         u16(bits);
}

std::string samplePattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

std::string wave(const std::string& format, const std::string& samples) {
  return riff("WAVE", chunk("fmt ", format) + chunk("data", samples));
}

}  // namespace vorlanex::wavebytes
