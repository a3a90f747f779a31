// The whole of `reach` short of printing: the search over a panel's gauges
// beside the module, and what it means for each sound. `reach` and
// `check --reach` both call it.
#pragma once

#include <string>
#include <string_view>

#include "config/slot_table.h"
#include "panel_gauges.h"
#include "reach_search.h"
#include "reach_verdicts.h"

namespace vorlanex::tool {

struct PanelReach {
  ReachSetup setup;
  SearchResult search;
  ReachVerdicts verdicts;
};

// `set` is the panel as panelGaugeSet reads it from `panelText`,
// `parameters` the module's INI path and `table` what the module reads from
// it; `globalDllPath` the GLOBAL.DLL stand-in or empty.
PanelReach reachPanel(const PanelGaugeSet& set, std::string_view panelText, const std::string& parameters,
                      const SoundTable& table, const std::string& globalDllPath, const SearchLimits& limits,
                      const SearchProgress& progress = {});

}  // namespace vorlanex::tool
