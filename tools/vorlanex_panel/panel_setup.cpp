#include "panel_setup.h"

#include "panel_cfg.h"
#include "panel_gauges.h"

namespace vorlanex::tool {

PanelSetup readPanelSetup(const std::string& path, const std::string& shown,
                          const std::string& text) {
  PanelGauges found = findPanelGauges(path, shown, text);
  PanelGaugeSet set = panelGaugeSet(text, found);
  Problems problems = checkPanelConfig(shown, text);
  problems.insert(problems.end(), found.problems.begin(), found.problems.end());
  std::vector<std::string> variables;
  for (const PanelUse& use : found.uses) variables.push_back(use.script.use.name);
  return {{std::move(set.windows), std::move(set.gauges), set.module}, std::move(problems),
          std::move(found.gauges), std::move(variables)};
}

}  // namespace vorlanex::tool
