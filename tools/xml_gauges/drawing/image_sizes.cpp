#include "image_sizes.h"

#include <optional>
#include <string>
#include <utility>

#include "gauge_instance.h"
#include "value_text.h"

namespace vorlanex::gauges {
namespace {

std::string number(double value) {
  char buffer[32];
  return std::string(numberText(value, buffer));
}

}  // namespace

void findImageSizeMismatches(const GaugePanel& panel, const ImageBytes& bytes, Findings& findings) {
  for (size_t g = 0; g < panel.gauges().size(); ++g) {
    const GaugeInstance* instance = panel.instance(static_cast<int>(g));
    if (instance == nullptr) continue;
    const PanelGaugeLine& line = panel.gauges()[g];
    for (const DeclaredImageSize& declared : instance->model().imageSizes) {
      const std::optional<std::string> file = bytes(static_cast<int>(g), declared.name);
      const std::optional<std::pair<int, int>> size = file ? bitmapSize(*file) : std::nullopt;
      if (!size || (size->first == declared.width && size->second == declared.height)) continue;
      findings.add({line.name, line.file, declared.line, ""},
                   "ImageSizes " + number(declared.width) + "," + number(declared.height) + " but " +
                       declared.name + " is " + std::to_string(size->first) + "," +
                       std::to_string(size->second) + ": drawn at its real size");
    }
  }
}

}  // namespace vorlanex::gauges
