// The panel's XML gauges run for two seconds at rest, with no script and the
// module linked in as `run` links it: what their scripts do when nobody
// touches the panel.
#pragma once

#include <string>

#include "config/slot_table.h"
#include "gauge_images.h"
#include "panel_gauges.h"
#include "problem.h"

namespace vorlanex::tool {

// The findings of the gauges' scripts, compiled and run (compiler style, at
// their file and line), and each gauge that writes a sound's variable or the
// stop-all variable in every frame: a one-shot written so plays again and
// again, a stop-all written so stops every sound. `parameters` is the
// module's INI path, `table` what the module reads from it, `globalDllPath`
// the GLOBAL.DLL stand-in (the simulator's sound on) or empty. Also each
// <Image> whose ImageSizes differ from its bitmap, read from `images`.
Problems runPanelAtRest(const PanelGaugeSet& panel, const std::string& parameters,
                        const SoundTable& table, const std::string& globalDllPath,
                        const gauges::ImageBytes& images);

}  // namespace vorlanex::tool
