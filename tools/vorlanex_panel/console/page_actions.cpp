#include "page_actions.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "panel/status_variables.h"

namespace vorlanex::panel {
namespace {

using nlohmann::json;

Step set(const std::string& variable, double value) {
  Step step{0, Step::kRightAfter, Action::kSet, variable};
  step.value = value;
  return step;
}

Step simulatorStep(Action action) { return Step{0, Step::kRightAfter, action, {}}; }

PageAction refused(std::string why) { return PageAction{{}, false, std::move(why)}; }

// A finite number in the field, or nothing.
bool number(const json& action, const char* field, double& out) {
  const auto it = action.find(field);
  if (it == action.end() || !it->is_number()) return false;
  out = it->get<double>();
  return std::isfinite(out);
}

}  // namespace

PageAction readPageAction(const std::string& body, const PanelFacts& panel,
                          SimulatorState& simulator) {
  const json action = json::parse(body, nullptr, false);
  if (!action.is_object() || !action.contains("do") || !action["do"].is_string()) {
    return refused("an action is a JSON object with a \"do\"");
  }
  const std::string what = action["do"].get<std::string>();
  if (what == "quit") return PageAction{{}, true, {}};
  if (what == "stop-all") return PageAction{{set(panel.stopAllVariable, 1)}, false, {}};
  if (what == "sound") {
    const auto on = action.find("on");
    if (on == action.end() || !on->is_boolean()) return refused("\"on\" must be true or false");
    simulator.soundOn = on->get<bool>();
    return PageAction{{simulatorStep(simulator.soundOn ? Action::kSoundOn : Action::kSoundOff)},
                      false, {}};
  }
  if (what == "load-global") {
    // The simulator never unloads it, and the module keeps its handle.
    if (simulator.globalDll) return refused("GLOBAL.DLL is loaded already");
    simulator.globalDll = true;
    return PageAction{{simulatorStep(Action::kLoadGlobal)}, false, {}};
  }

  double index = -1;
  if (!number(action, "sound", index) || index != std::floor(index) || index < 0 ||
      index >= static_cast<double>(panel.sounds.size())) {
    return refused("\"sound\" must be the index of one of the panel's sounds");
  }
  const std::string& variable = panel.sounds[static_cast<std::size_t>(index)].variable;
  double value = 0;
  if (what == "set") {
    if (!number(action, "value", value)) return refused("\"value\" must be a number");
    return PageAction{{set(variable, value)}, false, {}};
  }
  if (what == "volume") {
    if (!number(action, "percent", value)) return refused("\"percent\" must be a number");
    return PageAction{{set(kMasterVolumeVariable, value), set(variable, 3)}, false, {}};
  }
  if (what == "read-volume") return PageAction{{set(variable, 4)}, false, {}};
  return refused("no action \"" + what + "\"");
}

}  // namespace vorlanex::panel
