#include "example_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace vorlanex::exampleart {
namespace {

// Each glyph's seven rows, the leftmost of its five dots the highest bit.
const std::map<char, std::array<uint8_t, 7>>& glyphs() {
  static const std::map<char, std::array<uint8_t, 7>> font = {
      {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
      {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
      {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
      {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
      {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
      {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
      {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
      {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
      {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}}, {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
      {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
      {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}}, {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
      {' ', {0, 0, 0, 0, 0, 0, 0}},
  };
  return font;
}

Rgb mix(Rgb a, Rgb b, double t) {
  Rgb mixed = 0;
  for (int shift : {16, 8, 0}) {
    const double channel = ((a >> shift) & 0xFF) * (1.0 - t) + ((b >> shift) & 0xFF) * t;
    mixed |= static_cast<Rgb>(std::lround(channel)) << shift;
  }
  return mixed;
}

}  // namespace

void Canvas::set(int x, int y, Rgb color) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y * width_ + x)] = color;
}

void Canvas::rect(int left, int top, int right, int bottom, Rgb color) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) set(x, y, color);
  }
}

void Canvas::gradient(int left, int top, int right, int bottom, Rgb topColor, Rgb bottomColor) {
  for (int y = top; y < bottom; ++y) {
    rect(left, y, right, y + 1, mix(topColor, bottomColor, static_cast<double>(y - top) / std::max(1, bottom - top - 1)));
  }
}

void Canvas::disc(double cx, double cy, double outer, Rgb color, double inner) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (distance <= outer && distance > inner) set(x, y, color);
    }
  }
}

void Canvas::line(double x0, double y0, double x1, double y1, double thickness, Rgb color) {
  const double length = std::hypot(x1 - x0, y1 - y0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      // The pixel's centre projected on the segment, and its distance from it.
      const double px = x + 0.5 - x0;
      const double py = y + 0.5 - y0;
      const double along = length > 0 ? std::clamp((px * (x1 - x0) + py * (y1 - y0)) / (length * length), 0.0, 1.0) : 0.0;
      if (std::hypot(px - along * (x1 - x0), py - along * (y1 - y0)) <= thickness / 2) set(x, y, color);
    }
  }
}

void Canvas::text(int x, int y, const std::string& words, Rgb color, int size) {
  for (char c : words) {
    const auto glyph = glyphs().find(c);
    if (glyph != glyphs().end()) {
      for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
          if (glyph->second[static_cast<size_t>(row)] & (0x10 >> column)) {
            rect(x + column * size, y + row * size, x + (column + 1) * size, y + (row + 1) * size, color);
          }
        }
      }
    }
    x += 6 * size;
  }
}

void Canvas::centredText(int x, int y, const std::string& words, Rgb color, int size) {
  text(x - (static_cast<int>(words.size()) * 6 - 1) * size / 2, y, words, color, size);
}

}  // namespace vorlanex::exampleart
