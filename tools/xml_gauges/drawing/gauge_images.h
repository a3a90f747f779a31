// The panel's bitmaps, each decoded once and then served by its index: a
// display list names images by index, never by path. BMPs of 8 bits (with
// palette) and 24 bits; pure black pixels are transparent as the simulator
// leaves them undrawn, near black ones opaque.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "raster.h"

namespace vorlanex::gauges {

// A bitmap's bytes: for `gauge` (its index in the panel) the file `name`
// beside the gauge, in its folder or cabinet; for gauge -1 a window's
// background in the panel's folder. Nothing when there is none.
using ImageBytes = std::function<std::optional<std::string>(int gauge, const std::string& name)>;

// A BMP decoded, black made transparent; nothing when it is no bitmap.
std::optional<Raster> decodeBitmap(const std::string& bytes);
// A BMP's width and height, read from its header alone; nothing when it is no bitmap.
std::optional<std::pair<int, int>> bitmapSize(const std::string& bytes);

class GaugeImages {
 public:
  explicit GaugeImages(ImageBytes source) : source_(std::move(source)) {}

  // The image's index, decoded at the first asking; -1 when it cannot be had.
  int index(int gauge, const std::string& name);
  const Raster& image(int index) const { return images_[static_cast<size_t>(index)]; }
  // The images decoded so far: indexes 0 to count() - 1.
  std::size_t count() const { return images_.size(); }
  // The images that could not be had, once each, for telling.
  struct Missing {
    int gauge;  // -1: a window's background
    std::string name;
  };
  const std::vector<Missing>& missing() const { return missing_; }

  // The bitmaps were saved again: each is decoded anew at its next asking,
  // under a new index, so that whoever keeps a copy by the old index (the
  // console's page) fetches the new one.
  void readAgain() {
    indexes_.clear();
    missing_.clear();
  }

 private:
  ImageBytes source_;
  std::map<std::pair<int, std::string>, int> indexes_;
  std::vector<Raster> images_;
  std::vector<Missing> missing_;
};

}  // namespace vorlanex::gauges
