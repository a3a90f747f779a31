// What a panel's scripts say, read from their text before anything runs:
// the numbers each simulator variable is compared with, where each L:
// variable is written and under which condition, and the events sent.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "gauge_panel.h"
#include "variable_name.h"

namespace vorlanex::tool {

// One "(>L:NAME, UNIT)" in a script: where it stands, and the innermost
// if{ or els{ it stands in.
struct VariableWriteSite {
  int gauge = 0;         // the gauge line, by its place in the panel
  std::string file;      // the XML file as the panel shows it
  int line = 0;
  std::string condition;  // the condition's text, "not (...)" for an els{; empty: none
  int conditionLine = 0;
  bool inClick = false;  // a click's or a key's script, run only when the pilot acts
};

struct ScriptFacts {
  // By variable as a script reads it ("(A:EXIT OPEN:0, percent)"), the
  // numbers it is compared with, in the script's own unit.
  std::map<std::string, std::set<double>> comparedWith;
  std::map<std::string, gauges::VariableName> comparedVariables;  // by the same text
  // By L: name as written, every write of it, in panel.cfg's and file order.
  std::map<std::string, std::vector<VariableWriteSite>> writes;
  // Upper case, by (>K:...) and by Click Event=, each with the values sent
  // with it: the number pushed right before it, else 0.
  std::map<std::string, std::set<double>> events;
};

ScriptFacts readScriptFacts(const gauges::GaugePanel& panel);

}  // namespace vorlanex::tool
