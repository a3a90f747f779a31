// Stand-in for the gauge library's variable names until its own is merged.
#include <cctype>

#include "variable_name.h"

namespace vorlanex::gauges {
namespace {
std::string_view trim(std::string_view t) {
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  return t;
}
}  // namespace

std::optional<VariableName> parseVariableName(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '(') {
    if (text.back() != ')') return std::nullopt;
    text = trim(text.substr(1, text.size() - 2));
  }
  VariableName v;
  if (!text.empty() && text.front() == '>') {
    v.write = true;
    text = trim(text.substr(1));
  }
  if (text.size() < 2 || text[1] != ':') return std::nullopt;
  char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (kind == 'P') kind = 'E';
  if (std::string_view("AELGKMCR").find(kind) == std::string_view::npos) return std::nullopt;
  v.kind = kind;
  text = text.substr(2);
  const auto comma = text.rfind(',');
  if (comma != std::string_view::npos) {
    for (char c : trim(text.substr(comma + 1))) v.unit += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    text = text.substr(0, comma);
  }
  text = trim(text);
  const auto colon = text.rfind(':');
  if (colon != std::string_view::npos && colon + 1 < text.size() &&
      text.find_first_not_of("0123456789", colon + 1) == std::string_view::npos) {
    v.index = std::stoi(std::string(text.substr(colon + 1)));
    text = trim(text.substr(0, colon));
  }
  if (text.empty()) return std::nullopt;
  v.name = std::string(text);
  return v;
}

std::string variableText(const VariableName& v) {
  std::string text = "(";
  if (v.write) text += ">";
  text += v.kind;
  text += ":" + v.name;
  if (v.index > 0) text += ":" + std::to_string(v.index);
  if (!v.unit.empty()) text += ", " + v.unit;
  return text + ")";
}

}  // namespace vorlanex::gauges

// Stand-ins for the panel and the aircraft, until the library's own are merged.
#include <map>

#include "gauge_panel.h"
#include "simulated_aircraft.h"

namespace vorlanex::gauges {

std::string simulatorKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c == ' ' && (key.empty() || key.back() == ' ')) continue;
    key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  while (!key.empty() && key.back() == ' ') key.pop_back();
  return key;
}

struct SimulatedAircraft::State {
  std::map<std::string, double> values;
  std::vector<SentEvent> events;
  double time = 0.0;
};
SimulatedAircraft::SimulatedAircraft() : state_(std::make_unique<State>()) {}
SimulatedAircraft::~SimulatedAircraft() = default;
double SimulatedAircraft::read(const VariableName& v) {
  return state_->values[simulatorKey(v.name) + ":" + std::to_string(v.index)];
}
void SimulatedAircraft::write(const VariableName& v, double value) {
  state_->values[simulatorKey(v.name) + ":" + std::to_string(v.index)] = value;
}
void SimulatedAircraft::advance(double seconds) { state_->time += seconds; }
double SimulatedAircraft::time() const { return state_->time; }
void SimulatedAircraft::send(const std::string& event, double value, const ScriptSite& sender) {
  state_->events.push_back({state_->time, simulatorKey(event), value, sender});
}
const std::vector<SentEvent>& SimulatedAircraft::events() const { return state_->events; }

struct GaugePanel::State {
  std::vector<PanelWindowSpec> windows;
  std::vector<PanelGaugeSpec> gauges;
  SimulatedAircraft& aircraft;
  std::function<void(const PanelGaugeSpec&)> other;
  Findings findings;
};
GaugePanel::GaugePanel(std::vector<PanelWindowSpec> windows, std::vector<PanelGaugeSpec> gauges,
                       SharedVariables&, SimulatedAircraft& aircraft)
    : state_(new State{std::move(windows), std::move(gauges), aircraft, {}, {}}) {}
GaugePanel::~GaugePanel() = default;
void GaugePanel::setOtherGauge(std::function<void(const PanelGaugeSpec&)> run) {
  state_->other = std::move(run);
}
void GaugePanel::runFrame(double seconds) {
  for (const PanelWindowSpec& w : state_->windows) {
    if (!w.open) continue;
    for (const PanelGaugeSpec& g : state_->gauges) {
      if (g.section == w.section && !g.text && state_->other) state_->other(g);
    }
  }
  state_->aircraft.advance(seconds);
}
std::optional<int> GaugePanel::findGauge(std::string_view name) const {
  for (std::size_t i = 0; i < state_->gauges.size(); ++i) {
    const PanelGaugeSpec& g = state_->gauges[i];
    if (name == g.name || name == g.section + "/" + g.name) return static_cast<int>(i);
  }
  return std::nullopt;
}
const std::vector<PanelGaugeSpec>& GaugePanel::gauges() const { return state_->gauges; }
ClickOutcome GaugePanel::click(int, const AreaChoice&, const std::string&) {
  return {false, "stand-in"};
}
bool GaugePanel::setWindowOpen(std::string_view window, bool open) {
  for (PanelWindowSpec& w : state_->windows) {
    if (window == w.section || window == w.ident) {
      w.open = open;
      return true;
    }
  }
  return false;
}
const std::vector<PanelWindowSpec>& GaugePanel::windows() const { return state_->windows; }
const Findings& GaugePanel::findings() const { return state_->findings; }

}  // namespace vorlanex::gauges
