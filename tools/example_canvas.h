// A canvas in plain RGB for the example panel's artwork, drawn in code and
// written as a BMP file by bitmap_bytes. Pure black is what the simulator
// leaves undrawn, so the canvas starts black: transparent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlanex::exampleart {

using Rgb = uint32_t;  // 0xRRGGBB

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), 0) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
  void set(int x, int y, Rgb color);

  // Left, top, right and bottom edges, the right and bottom ones excluded.
  void rect(int left, int top, int right, int bottom, Rgb color);
  // A rectangle shaded from `top` colour to `bottom` colour.
  void gradient(int left, int top, int right, int bottom, Rgb topColor, Rgb bottomColor);
  // Every pixel whose centre lies within `outer` of (cx, cy) and beyond `inner`.
  void disc(double cx, double cy, double outer, Rgb color, double inner = -1.0);
  // A line `thickness` wide from (x0, y0) to (x1, y1).
  void line(double x0, double y0, double x1, double y1, double thickness, Rgb color);
  // Capitals, digits, '%' and spaces in a 5x7 font, `size` pixels a dot;
  // (x, y) is the text's top-left corner.
  void text(int x, int y, const std::string& words, Rgb color, int size = 1);
  // The same, centred on x.
  void centredText(int x, int y, const std::string& words, Rgb color, int size = 1);

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace vorlanex::exampleart
