// BMP files written for tests, pixel by pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorlanex::test {

using Rgb = uint32_t;  // 0xRRGGBB

// A BMP of 24 bits, or of 8 bits with a palette of the colours it uses.
inline std::string bitmap(int width, int height, bool paletted, const std::function<Rgb(int, int)>& colorAt) {
  std::vector<Rgb> palette;
  const auto indexOf = [&](Rgb c) {
    for (size_t i = 0; i < palette.size(); ++i) if (palette[i] == c) return static_cast<int>(i);
    palette.push_back(c);
    return static_cast<int>(palette.size() - 1);
  };
  const int rowBytes = ((width * (paletted ? 1 : 3)) + 3) / 4 * 4;
  std::string rows(static_cast<size_t>(rowBytes * height), '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = colorAt(x, y);
      char* p = &rows[static_cast<size_t>((height - 1 - y) * rowBytes + x * (paletted ? 1 : 3))];
      if (paletted) {
        p[0] = static_cast<char>(indexOf(c));
      } else {
        p[0] = static_cast<char>(c & 0xFF), p[1] = static_cast<char>((c >> 8) & 0xFF), p[2] = static_cast<char>(c >> 16);
      }
    }
  }
  std::string out;
  const auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const uint32_t offset = 54 + (paletted ? 4 * 256 : 0);
  out += "BM";
  put(offset + static_cast<uint32_t>(rows.size()), 4), put(0, 4), put(offset, 4);
  put(40, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4), put(1, 2);
  put(paletted ? 8 : 24, 2), put(0, 4), put(static_cast<uint32_t>(rows.size()), 4), put(2835, 4), put(2835, 4);
  put(paletted ? 256 : 0, 4), put(0, 4);
  if (paletted) {
    palette.resize(256, 0);
    for (Rgb c : palette) put(c & 0xFFFFFF, 4);
  }
  return out + rows;
}

}  // namespace vorlanex::test
