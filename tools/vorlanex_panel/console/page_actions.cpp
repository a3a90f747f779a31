#include "page_actions.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "commands/command_value.h"
#include "panel/status_variables.h"

namespace vorlanex::tool {
namespace {

using nlohmann::json;

Step set(const std::string& variable, double value) {
  return variableStep(Action::kSet, variable, value);
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

// The page's command: a code 0 to 4 and a pan within the device's range, as
// the page's buttons and slider give them.
std::optional<std::int32_t> commandOf(const json& action, std::string& refusal) {
  double code = 0;
  double pan = 0;
  if (!number(action, "code", code) || code != std::floor(code) || code < kCommandStop ||
      code > kCommandReportVolume) {
    refusal = "\"code\" must be a command, 0 to 4";
    return std::nullopt;
  }
  if (!number(action, "pan", pan) || pan != std::floor(pan) || pan < DSBPAN_LEFT ||
      pan > DSBPAN_RIGHT) {
    refusal = "\"pan\" must be a whole number from " + std::to_string(DSBPAN_LEFT) + " to " +
              std::to_string(DSBPAN_RIGHT);
    return std::nullopt;
  }
  // A stop is written as a plain 0, as gauges write it.
  if (code == kCommandStop) return 0;
  return encodeCommand(static_cast<std::int32_t>(code), static_cast<std::int32_t>(pan));
}

// A whole number from 0 below `count` in the field, or nothing.
std::optional<std::size_t> indexIn(const json& action, const char* field, std::size_t count) {
  double index = -1;
  if (!number(action, field, index) || index != std::floor(index) || index < 0 ||
      index >= static_cast<double>(count)) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(index);
}

PageAction click(const json& action, const GaugeView& gauges, const SimulatorSide& simulator) {
  const auto gauge = indexIn(action, "gauge", gauges.gaugeCount());
  if (!gauge) return refused("\"gauge\" must be the index of one of the panel's gauges");
  const auto kind = action.find("kind");
  double area = 0;
  if (!number(action, "area", area) || area != std::floor(area) || area < 0 || area > 1e6 ||
      kind == action.end() || !kind->is_string() ||
      !gauges.listens(*gauge, static_cast<int>(area), kind->get<std::string>())) {
    return refused("\"area\" and \"kind\" must name an area of the gauge and a kind it listens to");
  }
  const int window = gauges.windowOf(*gauge);
  if (window >= 0 && !simulator.windowsOpen.at(static_cast<std::size_t>(window))) {
    return refused("the gauge's window is closed");
  }
  Step step = simulatorStep(Action::kClick);
  step.target = gauges.stepTarget(*gauge);
  step.area = {gauges::AreaChoice::By::kNumber, "", static_cast<int>(area)};
  // A drag or a wheel tells where the mouse is, (M:X) and (M:Y), in the
  // gauge's pixels: the click goes to the innermost area there.
  double x = 0;
  double y = 0;
  if (number(action, "x", x) && number(action, "y", y)) {
    if (!gauges.areaHolds(*gauge, static_cast<int>(area), x, y)) {
      return refused("\"x\" and \"y\" must be a point of the area, in the gauge's pixels");
    }
    step.area = {gauges::AreaChoice::By::kPoint, "", 0, x, y};
  }
  if (kind->get<std::string>() != kPlainClick) step.mouseKind = kind->get<std::string>();
  return PageAction{{step}, false, {}};
}

PageAction gaugeAction(const std::string& what, const json& action, const GaugeView& gauges,
                       SimulatorSide& simulator) {
  if (what == "click") return click(action, gauges, simulator);
  double value = 0;
  if (what == "window") {
    const std::shared_ptr<const GaugeFacts> facts = gauges.facts();
    const auto window = indexIn(action, "window", facts->windowSections.size());
    const auto open = action.find("open");
    if (!window || open == action.end() || !open->is_boolean()) {
      return refused("\"window\" must be a window's index and \"open\" true or false");
    }
    if (*window >= simulator.windowsOpen.size()) simulator.windowsOpen.resize(*window + 1, true);
    simulator.windowsOpen[*window] = open->get<bool>();
    Step step = simulatorStep(open->get<bool>() ? Action::kOpenWindow : Action::kCloseWindow);
    step.target = facts->windowSections[*window];
    return PageAction{{step}, false, {}};
  }
  if (what == "aircraft") {
    const auto variable = indexIn(action, "variable", gauges.aircraftCount());
    if (!variable || !gauges.settable(*variable) || !number(action, "value", value)) {
      return refused("\"variable\" must be a settable aircraft variable and \"value\" a number");
    }
    Step step = simulatorStep(Action::kSet);
    step.variable = {gauges.aircraftVariable(*variable), false};
    step.value = value;
    return PageAction{{step}, false, {}};
  }
  const auto event = action.find("event");
  if (event == action.end() || !event->is_string() ||
      !gauges::SimulatedAircraft::knownEvent(event->get<std::string>())) {
    return refused("\"event\" must be an event the simulated aircraft knows");
  }
  if (action.contains("value") && !number(action, "value", value)) {
    return refused("\"value\" must be a number");
  }
  Step step = simulatorStep(Action::kEvent);
  step.target = event->get<std::string>();
  step.value = value;
  return PageAction{{step}, false, {}};
}

}  // namespace

std::optional<std::int32_t> readCommandValue(const std::string& body, std::string& refusal) {
  const json action = json::parse(body, nullptr, false);
  if (!action.is_object()) {
    refusal = "a command is a JSON object with a \"code\" and a \"pan\"";
    return std::nullopt;
  }
  return commandOf(action, refusal);
}

PageAction readPageAction(const std::string& body, const PanelFacts& panel,
                          SimulatorSide& simulator, const GaugeView* gauges) {
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
  if (what == "click" || what == "window" || what == "aircraft" || what == "event") {
    if (gauges == nullptr) return refused("the console runs no panel's gauges (--panel)");
    return gaugeAction(what, action, *gauges, simulator);
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
  if (what == "command") {
    std::string refusal;
    const std::optional<std::int32_t> command = commandOf(action, refusal);
    if (!command) return refused(refusal);
    return PageAction{{set(variable, *command)}, false, {}};
  }
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

}  // namespace vorlanex::tool
