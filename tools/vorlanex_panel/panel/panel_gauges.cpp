#include "panel_gauges.h"

namespace vorlanex::tool {

std::string gaugeName(const GaugeLine& line) {
  return line.gauge.empty() ? line.file : line.file + "!" + line.gauge;
}

PanelGaugeSet panelGaugeSet(std::string_view text, const PanelGauges& found) {
  PanelGaugeSet set;
  for (const PanelWindow& w : readPanelLayout(text).windows) {
    set.windows.push_back({w.section, w.ident, w.title, !w.hidden, w.width, w.height, w.background});
  }
  for (const FoundGauge& gauge : found.gauges) {
    const GaugeLine& line = gauge.line;
    if (!set.module && isModuleGauge(line)) set.module = set.gauges.size();
    set.gauges.push_back({line.section, gauge.name, gauge.where, gauge.text, line.line,
                          line.x, line.y, line.width, line.height});
  }
  return set;
}

}  // namespace vorlanex::tool
