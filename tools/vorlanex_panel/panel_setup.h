// The panel's gauges as `run --panel` and `console --panel` play them, read
// once by one piece of code so that both run the same panel.
#pragma once

#include <string>
#include <vector>

#include "gauge_search.h"
#include "problem.h"
#include "script_runner.h"

namespace vorlanex::tool {

// The gauges for the runner, what a panel author should know of them before
// the log (the module's lines, gauges found nowhere, XML that does not
// parse), each gauge line as found, in the runner's order, and the
// variables the gauges use.
struct PanelSetup {
  RunPanel panel;
  Problems problems;
  std::vector<FoundGauge> found;
  std::vector<std::string> variables;  // the L: variables the gauges read or write
};

// `path` is the panel.cfg as the file system takes it, `shown` as the author
// named it, `text` its content.
PanelSetup readPanelSetup(const std::string& path, const std::string& shown,
                          const std::string& text);

}  // namespace vorlanex::tool
