// What one window of a running panel shows at the moment it stands: its
// background, then each gauge's visible elements in drawing order (document
// order, nested), each with the image its Select chose, its place, rotation,
// shift, mask and text, in the window's units. Computed from the values the
// last frame gave (nothing is run again to draw: scripts have side effects).
// A Delay's needle stands where it has moved to by the frame's time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "delayed_motion.h"
#include "gauge_images.h"
#include "gauge_panel.h"

namespace vorlanex::gauges {

// Maps a point (u,v) to (a·u + b·v + tx, c·u + d·v + ty).
struct Affine {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, tx = 0.0, ty = 0.0;
  Affine then(const Affine& outer) const;  // this first, then `outer`
  double mapX(double u, double v) const { return a * u + b * v + tx; }
  double mapY(double u, double v) const { return c * u + d * v + ty; }
};

enum class Lighting { kPlain, kLuminous, kBright };

struct DrawnText {
  std::string text;
  double width = 0.0;  // the box, in gauge pixels; `place` maps it to the window
  double height = 0.0;
  double size = 0.0;   // pixel height of the font, in gauge pixels
  bool fixed = false;  // fixed pitch
  uint32_t color = 0;  // 0xRRGGBB
  bool hasBackground = false;
  uint32_t background = 0;
  int adjust = 0;          // -1 left, 0 centre, 1 right
  int verticalAdjust = 0;  // -1 top, 0 centre, 1 bottom
};

struct DisplayItem {
  enum class Kind { kImage, kText } kind = Kind::kImage;
  int image = -1;  // in the GaugeImages
  Affine place;    // image pixels (or the text box's) to window units
  int mask = -1;   // -1: none; the image shows only through the mask's drawn pixels
  Affine maskPlace;
  Lighting lighting = Lighting::kPlain;
  DrawnText text;
  int line = 0;  // the element's file line (0 for a window's background)
};

struct DisplayList {
  double width = 0.0;  // the window's units (size_mm)
  double height = 0.0;
  std::vector<DisplayItem> items;  // bottom to top
};

// The window `window` of `panel` as its last frame, at `now` seconds, left
// it; the Delays' elements move on in `motion` to that time. Made every
// frame the Delays are to move smoothly. A window without size_mm takes the
// extent of its gauges.
DisplayList displayWindow(const GaugePanel& panel, int window, GaugeImages& images, DelayedMotion& motion,
                          double now);

// Parses "#RRGGBB", "0xRRGGBB" and colour names; nothing for others.
std::optional<uint32_t> parseColor(const std::string& text);

}  // namespace vorlanex::gauges
