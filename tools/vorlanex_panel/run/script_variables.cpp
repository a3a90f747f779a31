#include "script_variables.h"

#include <algorithm>
#include <map>

#include "name_typos.h"
#include "simulated_aircraft.h"

namespace vorlanex::tool {
namespace {

bool namesPanelVariable(const Step& step) {
  return (step.action == Action::kSet || step.action == Action::kExpect ||
          step.action == Action::kWaitUntil || step.action == Action::kRamp) &&
         step.variable.panelVariable();
}

std::string alsoOnLines(const std::vector<int>& lines) {
  if (lines.size() < 2) return "";
  std::string text = lines.size() == 2 ? " (also on line " : " (also on lines ";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    text += (i > 1 ? ", " : "") + std::to_string(lines[i]);
  }
  return text + ")";
}

}  // namespace

Problems unknownScriptVariables(const Script& script, const std::vector<std::string>& known) {
  std::vector<std::string> order;  // the unknown names, in the order first met
  std::map<std::string, std::vector<int>> lines;
  for (const Step& step : script.steps) {
    const std::string& name = step.variable.name.name;
    if (!namesPanelVariable(step) ||
        std::find(known.begin(), known.end(), name) != known.end()) {
      continue;
    }
    std::vector<int>& at = lines[name];
    if (at.empty()) order.push_back(name);
    at.push_back(step.line);
  }
  Problems problems;
  for (const std::string& name : order) {
    std::string message = "'" + name +
                          "' is no variable of the module: nothing but this script "
                          "reads or writes it" +
                          alsoOnLines(lines[name]);
    if (const std::string* meant = gauges::probableTypoOf(name, known)) {
      message += ": did you mean '" + *meant + "'?";
    }
    problems.push_back({Severity::kWarning, script.file, lines[name].front(), "", message});
  }
  return problems;
}

Problems unknownScriptEvents(const Script& script) {
  Problems problems;
  for (const Step& step : script.steps) {
    if (step.action != Action::kEvent || gauges::SimulatedAircraft::knownEvent(step.target)) {
      continue;
    }
    problems.push_back({Severity::kWarning, script.file, step.line, "",
                        "'" + step.target + "' is no event the simulated aircraft knows: it is "
                        "sent, and changes none of its variables"});
  }
  return problems;
}

}  // namespace vorlanex::tool
