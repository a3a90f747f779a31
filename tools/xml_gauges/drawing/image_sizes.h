// ImageSizes that do not match the bitmap: the simulator draws a bitmap at
// its real size, which is what an author who wrote other numbers should know.
#pragma once

#include "gauge_images.h"
#include "gauge_panel.h"
#include "script_site.h"

namespace vorlanex::gauges {

// A finding at each <Image> of the panel's XML gauges whose ImageSizes
// differ from its bitmap's size; a bitmap that cannot be read is passed by.
void findImageSizeMismatches(const GaugePanel& panel, const ImageBytes& bytes, Findings& findings);

}  // namespace vorlanex::gauges
