#include "gauge_images.h"

#include "drawing_choices.h"
#include "text_case.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include "stb/stb_image.h"

namespace vorlanex::gauges {

std::optional<Raster> decodeBitmap(const std::string& bytes) {
  int width = 0;
  int height = 0;
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                static_cast<int>(bytes.size()), &width, &height, &channels, 4);
  if (pixels == nullptr) return std::nullopt;
  Raster raster(width, height);
  raster.rgba.assign(pixels, pixels + raster.rgba.size());
  stbi_image_free(pixels);
  for (size_t i = 0; i < raster.rgba.size(); i += 4) {
    uint8_t* p = raster.rgba.data() + i;
    const uint8_t level = drawing_choices::kTransparentLevel;
    p[3] = (p[0] <= level && p[1] <= level && p[2] <= level) ? 0 : 255;
  }
  return raster;
}

std::optional<std::pair<int, int>> bitmapSize(const std::string& bytes) {
  int width = 0;
  int height = 0;
  int channels = 0;
  if (stbi_info_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                            &width, &height, &channels) == 0) {
    return std::nullopt;
  }
  return std::make_pair(width, height);
}

int GaugeImages::index(int gauge, const std::string& name) {
  if (name.empty()) return -1;
  const auto key = std::make_pair(gauge, lowerCase(name));
  if (const auto found = indexes_.find(key); found != indexes_.end()) return found->second;
  int index = -1;
  if (std::optional<std::string> bytes = source_(gauge, name)) {
    if (std::optional<Raster> raster = decodeBitmap(*bytes)) {
      images_.push_back(std::move(*raster));
      index = static_cast<int>(images_.size() - 1);
    }
  }
  if (index < 0) missing_.push_back({gauge, name});
  indexes_[key] = index;
  return index;
}

}  // namespace vorlanex::gauges
