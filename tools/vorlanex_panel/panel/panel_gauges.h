// The panel as the gauge library runs it: its windows and gauge lines in
// panel.cfg's order, each XML gauge with its text as the simulator finds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gauge_panel.h"
#include "gauge_search.h"

namespace vorlanex::tool {

struct PanelGaugeSet {
  std::vector<gauges::PanelWindowSection> windows;
  std::vector<gauges::PanelGaugeLine> gauges;
  // The module's own gauge line among `gauges`: the first of the window
  // sections that loads it. None when no window holds one.
  std::optional<std::size_t> module;
};

// `found` is what findPanelGauges found for the panel.cfg whose text is `text`.
PanelGaugeSet panelGaugeSet(std::string_view text, const PanelGauges& found);

// "FILE!NAME", or "FILE" for a gauge line without '!'.
std::string gaugeName(const GaugeLine& line);

}  // namespace vorlanex::tool
