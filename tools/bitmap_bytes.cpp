#include "bitmap_bytes.h"

#include <algorithm>
#include <vector>

namespace vorlanex::bitmapbytes {
namespace {

// Little-endian, as BMP files are.
void put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string bitmap(int width, int height, bool paletteWanted, const std::function<Rgb(int x, int y)>& colorAt) {
  std::vector<Rgb> pixels;
  std::vector<Rgb> palette;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(colorAt(x, y) & 0xFFFFFF);
      if (palette.size() <= 256 && std::find(palette.begin(), palette.end(), pixels.back()) == palette.end()) {
        palette.push_back(pixels.back());
      }
    }
  }
  const bool paletted = paletteWanted && palette.size() <= 256;
  const int rowBytes = (width * (paletted ? 1 : 3) + 3) / 4 * 4;
  std::string rows;
  for (int row = 0; row < height; ++row) {
    const size_t start = rows.size();
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels[static_cast<size_t>(row * width + x)];
      if (paletted) {
        rows += static_cast<char>(std::find(palette.begin(), palette.end(), c) - palette.begin());
      } else {
        put(rows, c, 3);  // blue, green, red
      }
    }
    rows.resize(start + static_cast<size_t>(rowBytes), '\0');
  }
  const uint32_t offset = 54 + (paletted ? 4 * 256 : 0);
  std::string out = "BM";
  put(out, offset + static_cast<uint32_t>(rows.size()), 4), put(out, 0, 4), put(out, offset, 4);
  put(out, 40, 4), put(out, static_cast<uint32_t>(width), 4), put(out, static_cast<uint32_t>(height), 4);
  put(out, 1, 2), put(out, paletted ? 8 : 24, 2), put(out, 0, 4), put(out, static_cast<uint32_t>(rows.size()), 4);
  put(out, 2835, 4), put(out, 2835, 4), put(out, paletted ? 256 : 0, 4), put(out, 0, 4);
  if (paletted) {
    palette.resize(256, 0);
    for (Rgb c : palette) put(out, c, 4);
  }
  return out + rows;
}

}  // namespace vorlanex::bitmapbytes
