// Paints a display list into a raster, as a still picture: images turned and
// scaled with bilinear sampling, shown through their masks, texts in the
// built-in fonts, and a PNG file of it.
#pragma once

#include <string>

#include "display_list.h"
#include "gauge_images.h"
#include "raster.h"

namespace vorlanex::gauges {

struct PaintOptions {
  double scale = 1.0;  // pixels per window unit
  bool night = false;  // plain images dimmed, Bright and Luminous ones lit
};

// The window edge to edge: ceil(width × scale) by ceil(height × scale)
// pixels, transparent where nothing is drawn.
Raster paintDisplayList(const DisplayList& list, const GaugeImages& images, const PaintOptions& options);

// The raster as a PNG file's bytes.
std::string pngBytes(const Raster& raster);

}  // namespace vorlanex::gauges
