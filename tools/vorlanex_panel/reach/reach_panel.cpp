#include "reach_panel.h"

#include "reach_moves.h"

namespace vorlanex::tool {

PanelReach reachPanel(const PanelGaugeSet& set, std::string_view panelText, const std::string& parameters,
                      const SoundTable& table, const std::string& globalDllPath, const SearchLimits& limits,
                      const SearchProgress& progress) {
  PanelReach reach;
  reach.setup = {{set.windows, set.gauges, set.module}, parameters, globalDllPath, table,
                 host::PanelHost::kDefaultFrameRate};
  reach.search = searchPanel(reach.setup, windowsInMenu(panelText, set.windows), limits, progress);
  reach.verdicts = judgeSearch(reach.search, table, set.windows, set.gauges);
  return reach;
}

}  // namespace vorlanex::tool
