// Tooltips written as gauge strings ("%((L:rpm, number))%!d! rpm") as the
// page shows them: formatted each frame by the gauge library, against the
// panel's variables as the frame left them. Formatting writes no L:
// variable: one a tooltip's script writes is left as it was, and a name the
// panel does not know reads 0 without coming into being. (An event or A:
// variable a tooltip's script sends would reach the aircraft: no tooltip is
// known to.) A tooltip reads its gauge's G: variables as 0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gauge_panel.h"
#include "gauge_string.h"
#include "named_variables.h"

namespace vorlanex::tool {

class TooltipTexts {
 public:
  explicit TooltipTexts(gauges::SimulatedAircraft& aircraft);
  ~TooltipTexts();

  // {"GAUGE:AREA": text} for each area of the panel whose tooltip is a gauge
  // string, as JSON. Compiled at the first call, from the frame loop.
  std::string formattedJson(const gauges::GaugePanel& panel, const host::NamedVariables& variables);

 private:
  struct Formatted {
    std::string key;  // "GAUGE:AREA"
    gauges::GaugeString text;
  };
  class Reading;  // the panel's variables, read only
  gauges::ScriptContext context();

  gauges::SimulatedAircraft& aircraft_;
  gauges::Findings findings_;
  double gaugeVariables_[10] = {};
  std::unique_ptr<Reading> reading_;
  std::vector<Formatted> texts_;
};

}  // namespace vorlanex::tool
