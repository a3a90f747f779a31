// A picture in memory: rows top to bottom, four bytes a pixel (R, G, B, A).
#pragma once

#include <cstdint>
#include <vector>

namespace vorlanex::gauges {

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  Raster() = default;
  Raster(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0) {}
  uint8_t* at(int x, int y) { return rgba.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4; }
  const uint8_t* at(int x, int y) const {
    return rgba.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
  }
};

}  // namespace vorlanex::gauges
