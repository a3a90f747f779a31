#include "reach_moves.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "gauge_model.h"
#include "mouse_areas.h"
#include "platform/portable/ini_text.h"
#include "text_case.h"
#include "units.h"

namespace vorlanex::tool {
namespace {

constexpr double kNear = 0.01;  // a constant's neighbours lie 1 % from it
const char* const kReleases[] = {"Leave", "LeftRelease", "RightRelease", "MiddleRelease"};

bool isRelease(const std::string& kind) {
  return std::any_of(std::begin(kReleases), std::end(kReleases),
                     [&](const char* r) { return gauges::equalNoCase(kind, r); });
}

// The release a press is let go with, where the area listens to one.
std::string releaseOf(const std::string& press, const std::vector<std::string>& kinds) {
  const auto listens = [&](const std::string& kind) {
    return std::any_of(kinds.begin(), kinds.end(), [&](const std::string& k) { return gauges::equalNoCase(k, kind); });
  };
  if (listens("Leave")) return "Leave";
  for (const char* side : {"Left", "Right", "Middle"}) {
    if (press.rfind(side, 0) == 0 && listens(std::string(side) + "Release")) return std::string(side) + "Release";
  }
  return "";
}

int windowOf(const gauges::GaugePanel& panel, const gauges::PanelGaugeLine& gauge) {
  const auto& windows = panel.windows();
  for (std::size_t w = 0; w < windows.size(); ++w) {
    if (gauges::equalNoCase(windows[w].section, gauge.section)) return static_cast<int>(w);
  }
  return -1;
}

// The gauge as a click step names it: by its name, or with its window where
// an earlier line names the same gauge.
std::string clickTarget(const gauges::GaugePanel& panel, int gauge) {
  const gauges::PanelGaugeLine& line = panel.gauges()[static_cast<std::size_t>(gauge)];
  if (panel.findGauge(line.name) == gauge) return line.name;
  return line.section + "/" + line.name;
}

gauges::AreaChoice areaChoice(const std::vector<gauges::NumberedArea>& clickable,
                              const gauges::NumberedArea& area) {
  gauges::AreaChoice choice;
  if (clickable.size() == 1) return choice;
  const std::string& tip = area.area->tooltip;
  const bool unique = !tip.empty() && std::count_if(clickable.begin(), clickable.end(), [&](const gauges::NumberedArea& a) {
                                        return a.area->tooltip == tip;
                                      }) == 1;
  if (unique && tip.find('"') == std::string::npos) {
    choice.by = gauges::AreaChoice::By::kTooltip;
    choice.tooltip = tip;
  } else {
    choice.by = gauges::AreaChoice::By::kNumber;
    choice.number = area.number;
  }
  return choice;
}

Step clickStep(const std::string& target, const gauges::AreaChoice& area, const std::string& kind) {
  Step step{0, Step::kRightAfter, Action::kClick};
  step.target = target;
  step.area = area;
  step.mouseKind = gauges::equalNoCase(kind, kPlainClick) ? "" : kind;
  return step;
}

void addClicks(const gauges::GaugePanel& panel, int gauge, std::vector<Move>& moves) {
  const gauges::GaugeModel& model = panel.model(gauge);
  if (!model.mouse) return;
  std::vector<gauges::NumberedArea> clickable;
  for (const gauges::NumberedArea& area : gauges::numberAreas(*model.mouse)) {
    if (!area.area->clicks.empty()) clickable.push_back(area);
  }
  const std::string target = clickTarget(panel, gauge);
  const int window = windowOf(panel, panel.gauges()[static_cast<std::size_t>(gauge)]);
  for (const gauges::NumberedArea& area : clickable) {
    std::vector<std::string> kinds;
    for (const gauges::Click& click : area.area->clicks) {
      for (const std::string& kind : click.kinds) {
        if (std::none_of(kinds.begin(), kinds.end(), [&](const std::string& k) { return gauges::equalNoCase(k, kind); })) {
          kinds.push_back(kind);
        }
      }
    }
    const bool presses = std::any_of(kinds.begin(), kinds.end(), [](const std::string& k) { return !isRelease(k); });
    const gauges::AreaChoice choice = areaChoice(clickable, area);
    for (const std::string& kind : kinds) {
      if (presses && isRelease(kind)) continue;
      Move move{Move::Kind::kClick, {{clickStep(target, choice, kind)}}, window, ""};
      move.text = stepText(move.frames[0][0], Digits::kShort);
      if (const std::string release = presses ? releaseOf(kind, kinds) : ""; !release.empty()) {
        move.frames.push_back({clickStep(target, choice, release)});
        move.text += ", then as " + release;
      }
      moves.push_back(std::move(move));
    }
  }
}

Step setStep(const gauges::VariableName& variable, double value) {
  Step step{0, Step::kRightAfter, Action::kSet};
  step.variable = {variable, false};
  step.variable.name.write = false;
  step.value = value;
  return step;
}

Move setMove(Move::Kind kind, const gauges::VariableName& variable, double value) {
  Move move{kind, {{setStep(variable, value)}}, -1, ""};
  move.text = stepText(move.frames[0][0], Digits::kShort);
  return move;
}

// The range a variable can hold, in its held unit: a percent within 0 to
// 100 %, a speed of turning not below 0; other variables are not bounded.
void heldRange(const gauges::TableVariable* table, double& low, double& high) {
  low = -std::numeric_limits<double>::infinity();
  high = std::numeric_limits<double>::infinity();
  if (table == nullptr || table->held == nullptr) return;
  const std::string& dimension = table->held->dimension;
  if (dimension == "percent") {
    low = 0.0;
    high = gauges::lowerCase(table->held->name).find("over 100") != std::string::npos ? 1.0 : 100.0;
  } else if (dimension == "angular-speed") {
    low = 0.0;
  }
}

void addValues(gauges::SimulatedAircraft& aircraft, const ScriptFacts& facts, std::vector<Move>& moves) {
  for (const auto& [text, constants] : facts.comparedWith) {
    const gauges::VariableName& variable = facts.comparedVariables.at(text);
    const int slot = aircraft.bind(variable.kind, variable.name, variable.index, variable.unit);
    if (aircraft.clockDriven(slot)) continue;
    const gauges::TableVariable* table = aircraft.tableVariableOf(slot);
    if (table != nullptr && table->held != nullptr && table->held->boolean()) continue;
    const gauges::Unit* unit = gauges::findUnit(variable.unit);
    if (unit != nullptr && unit->boolean()) continue;
    // Bounds and the rest value in the unit the script compares in.
    double low = 0.0;
    double high = 0.0;
    heldRange(table, low, high);
    const double rest = table != nullptr ? table->restAt(variable.index) : 0.0;
    gauges::Conversion toScript;
    if (unit != nullptr) toScript = aircraft.unitRead(slot, *unit).conversion;
    const auto inScript = [&](double held) { return std::isfinite(held) ? toScript.apply(held) : held; };
    const double a = inScript(low);
    const double b = inScript(high);
    for (const double value : valuesThatMatter({constants.begin(), constants.end()}, inScript(rest),
                                               std::min(a, b), std::max(a, b))) {
      moves.push_back(setMove(Move::Kind::kValue, variable, value));
    }
  }
}

}  // namespace

std::vector<double> valuesThatMatter(const std::vector<double>& constants, double rest, double low,
                                     double high) {
  std::vector<double> values{rest};
  for (const double c : constants) {
    const double step = c == 0.0 ? 1.0 : std::fabs(c) * kNear;
    values.insert(values.end(), {c - step, c, c + step});
  }
  std::vector<double> kept;
  for (const double v : values) {
    if (v >= low && v <= high) kept.push_back(v);
  }
  std::sort(kept.begin(), kept.end());
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  return kept;
}

std::vector<Move> panelMoves(const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft,
                             const ScriptFacts& facts, const std::vector<bool>& pilotWindows,
                             double framesPerSecond) {
  std::vector<Move> moves;
  const auto& gaugeLines = panel.gauges();
  for (std::size_t g = 0; g < gaugeLines.size(); ++g) {
    if (gaugeLines[g].text) addClicks(panel, static_cast<int>(g), moves);
  }
  const auto& windows = panel.windows();
  for (std::size_t w = 0; w < windows.size(); ++w) {
    if (w >= pilotWindows.size() || !pilotWindows[w]) continue;
    const std::string name = windows[w].ident.empty() ? windows[w].section : windows[w].ident;
    for (const bool open : {true, false}) {
      Step step{0, Step::kRightAfter, open ? Action::kOpenWindow : Action::kCloseWindow};
      step.target = name;
      moves.push_back({open ? Move::Kind::kOpen : Move::Kind::kClose, {{step}}, static_cast<int>(w),
                       stepText(step, Digits::kShort)});
    }
  }
  bool clockRead = false;
  for (int slot = 0; slot < aircraft.slotCount(); ++slot) {
    if (aircraft.clockDriven(slot)) {
      clockRead = true;
      continue;
    }
    const gauges::TableVariable* table = aircraft.tableVariableOf(slot);
    const gauges::Unit* held = gauges::findUnit(aircraft.unitOf(slot));
    const bool boolean = (held != nullptr && held->boolean()) ||
                         (table != nullptr && table->held != nullptr && table->held->boolean());
    if (!boolean) continue;
    gauges::VariableName variable = aircraft.variableOf(slot);
    variable.unit = "bool";
    for (const double value : {1.0, 0.0}) moves.push_back(setMove(Move::Kind::kSwitch, variable, value));
  }
  addValues(aircraft, facts, moves);
  for (const auto& [event, values] : facts.events) {
    for (const double value : values) {
      Step step{0, Step::kRightAfter, Action::kEvent};
      step.target = event;
      step.value = value;
      moves.push_back({Move::Kind::kEvent, {{step}}, -1, stepText(step, Digits::kShort)});
    }
  }
  if (clockRead) {
    for (const int seconds : {1, 10}) {
      Move wait{Move::Kind::kWait, {}, -1, "wait " + std::to_string(seconds)};
      wait.frames.resize(static_cast<std::size_t>(std::lround(seconds * framesPerSecond)));
      moves.push_back(std::move(wait));
    }
  }
  return moves;
}

std::vector<bool> windowsInMenu(std::string_view panelText,
                                const std::vector<gauges::PanelWindowSection>& windows) {
  std::vector<bool> listed;
  for (const gauges::PanelWindowSection& window : windows) {
    const std::optional<std::string_view> title =
        platform::findProfileValue(panelText, "Window Titles", window.section);
    listed.push_back(title && !title->empty());
  }
  return listed;
}

bool movePossible(const Move& move, const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft) {
  switch (move.kind) {
    case Move::Kind::kClick:
      return move.window < 0 || panel.windowOpen(move.window);
    case Move::Kind::kOpen:
      return !panel.windowOpen(move.window);
    case Move::Kind::kClose:
      return panel.windowOpen(move.window);
    case Move::Kind::kSwitch:
    case Move::Kind::kValue: {
      const Step& step = move.frames[0][0];
      return aircraft.read(step.variable.name) != step.value;
    }
    default:
      return true;
  }
}

}  // namespace vorlanex::tool
