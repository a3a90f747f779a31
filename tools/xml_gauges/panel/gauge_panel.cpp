#include "gauge_panel.h"

#include "gauge_instance.h"
#include "script_stack.h"
#include "text_case.h"
#include "value_text.h"

namespace vorlanex::gauges {

struct GaugePanel::State {
  State(std::vector<PanelWindowSection> windowSections, std::vector<PanelGaugeLine> gaugeLines,
        SharedVariables& sharedVariables, SimulatedAircraft& simulated)
      : windows(std::move(windowSections)),
        gauges(std::move(gaugeLines)),
        shared(sharedVariables),
        aircraft(simulated) {}

  struct Place {
    int gauge;
    int window;  // -1 for a gauge whose section names no window: it always runs
  };

  std::vector<PanelWindowSection> windows;
  std::vector<PanelGaugeLine> gauges;
  SharedVariables& shared;
  SimulatedAircraft& aircraft;
  Findings findings;
  std::vector<bool> open;
  std::vector<std::unique_ptr<GaugeInstance>> instances;  // null for a gauge that is no XML gauge
  std::vector<Place> order;
  std::vector<int> windowOf;  // by gauge, as in `order`
  std::function<void(const PanelGaugeLine&)> otherGauge;
  StringListener strings;
  ScriptStack cycleStack;  // each gauge's cycle in turn clears it and runs on it
  GaugeModel noModel;

  std::optional<int> windowNamed(std::string_view name) const {
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if (equalNoCase(windows[i].section, name) ||
          (!windows[i].ident.empty() && equalNoCase(windows[i].ident, name))) {
        return static_cast<int>(i);
      }
    }
    return std::nullopt;
  }

  // The windows the aircraft's events asked for: PANEL_n by panel.cfg's
  // order, PANEL_ID_* by a numeric ident=.
  void applyWindowRequests() {
    for (const WindowRequest& request : aircraft.takeWindowRequests()) {
      for (std::size_t w = 0; w < windows.size(); ++w) {
        double ident = 0.0;
        const bool named = request.byOrder ? static_cast<int>(w) + 1 == request.number
                                           : parseNumber(windows[w].ident, ident) && ident == request.number;
        if (!named) continue;
        open[w] = request.action == WindowRequest::Action::kToggle ? !open[w]
                                                                   : request.action == WindowRequest::Action::kOpen;
        break;
      }
    }
  }

  // Windows in their order, each with its gauges in theirs.
  void placeGauges() {
    std::vector<bool> placed(gauges.size(), false);
    for (std::size_t w = 0; w < windows.size(); ++w) {
      for (std::size_t g = 0; g < gauges.size(); ++g) {
        if (placed[g] || !equalNoCase(gauges[g].section, windows[w].section)) continue;
        placed[g] = true;
        order.push_back({static_cast<int>(g), static_cast<int>(w)});
      }
    }
    for (std::size_t g = 0; g < gauges.size(); ++g) {
      if (!placed[g]) order.push_back({static_cast<int>(g), -1});
    }
    windowOf.resize(gauges.size());
    for (const Place& place : order) windowOf[static_cast<std::size_t>(place.gauge)] = place.window;
  }
};

GaugePanel::GaugePanel(std::vector<PanelWindowSection> windows, std::vector<PanelGaugeLine> gauges,
                       SharedVariables& shared, SimulatedAircraft& aircraft)
    : state_(std::make_unique<State>(std::move(windows), std::move(gauges), shared, aircraft)) {
  State& state = *state_;
  for (const PanelWindowSection& window : state.windows) state.open.push_back(window.open);
  for (const PanelGaugeLine& gauge : state.gauges) {
    state.instances.push_back(gauge.text ? std::make_unique<GaugeInstance>(
                                               gauge, state.shared, state.aircraft, state.findings)
                                         : nullptr);
  }
  state.placeGauges();
}

void GaugePanel::replaceLayout(std::vector<PanelWindowSection> windows,
                               std::vector<PanelGaugeLine> gauges) {
  std::unique_ptr<State> old = std::move(state_);
  state_ = std::make_unique<State>(std::move(windows), std::move(gauges), old->shared, old->aircraft);
  State& state = *state_;
  state.findings = std::move(old->findings);
  state.otherGauge = std::move(old->otherGauge);
  state.strings = std::move(old->strings);
  for (const PanelWindowSection& window : state.windows) {
    const std::optional<int> before = old->windowNamed(window.section);
    state.open.push_back(before ? old->open[static_cast<std::size_t>(*before)] : window.open);
  }
  for (const PanelGaugeLine& gauge : state.gauges) {
    auto& instance = state.instances.emplace_back();
    if (!gauge.text) continue;
    instance = std::make_unique<GaugeInstance>(gauge, state.shared, state.aircraft, state.findings);
    for (std::size_t g = 0; g < old->gauges.size(); ++g) {
      if (old->instances[g] && equalNoCase(old->gauges[g].section, gauge.section) &&
          equalNoCase(old->gauges[g].name, gauge.name)) {
        instance->keepGaugeVariables(*old->instances[g]);
        break;
      }
    }
  }
  state.placeGauges();
}

GaugePanel::~GaugePanel() = default;

void GaugePanel::setOtherGauge(std::function<void(const PanelGaugeLine&)> run) {
  state_->otherGauge = std::move(run);
}

void GaugePanel::runFrame(double seconds) {
  State& state = *state_;
  state.applyWindowRequests();
  for (const State::Place& place : state.order) {
    if (place.window >= 0 && !state.open[static_cast<std::size_t>(place.window)]) continue;
    const auto gauge = static_cast<std::size_t>(place.gauge);
    if (state.instances[gauge]) {
      state.instances[gauge]->runFrame(seconds, state.cycleStack, &state.strings);
    } else if (state.otherGauge) {
      state.otherGauge(state.gauges[gauge]);
    }
  }
  state.applyWindowRequests();
  state.aircraft.advance(seconds);
}

std::optional<int> GaugePanel::findGauge(std::string_view name) const {
  const State& state = *state_;
  std::optional<int> window;
  if (const auto slash = name.find('/'); slash != std::string_view::npos) {
    window = state.windowNamed(name.substr(0, slash));
    if (!window) return std::nullopt;
    name = name.substr(slash + 1);
  }
  for (std::size_t g = 0; g < state.gauges.size(); ++g) {
    if (!equalNoCase(state.gauges[g].name, name)) continue;
    if (window && !equalNoCase(state.gauges[g].section, state.windows[*window].section)) continue;
    return static_cast<int>(g);
  }
  return std::nullopt;
}

bool GaugePanel::replaceGauge(int gauge, std::string text) {
  State& state = *state_;
  const auto g = static_cast<std::size_t>(gauge);
  if (g >= state.instances.size() || !state.instances[g]) return false;
  // The old gauge is kept until the new one has taken its G: variables.
  std::unique_ptr<GaugeInstance> old = std::move(state.instances[g]);
  state.gauges[g].text = std::move(text);
  state.instances[g] = std::make_unique<GaugeInstance>(state.gauges[g], state.shared,
                                                       state.aircraft, state.findings);
  state.instances[g]->keepGaugeVariables(*old);
  return true;
}

const std::vector<PanelGaugeLine>& GaugePanel::gauges() const { return state_->gauges; }

const GaugeModel& GaugePanel::model(int gauge) const {
  const auto& instance = state_->instances.at(static_cast<std::size_t>(gauge));
  return instance ? instance->model() : state_->noModel;
}

ClickOutcome GaugePanel::click(int gauge, const AreaChoice& area, const std::string& kind) {
  State& state = *state_;
  const PanelGaugeLine& gaugeLine = state.gauges.at(static_cast<std::size_t>(gauge));
  const auto& instance = state.instances[static_cast<std::size_t>(gauge)];
  if (!instance) return {false, gaugeLine.name + " is no XML gauge: it has no mouse areas to click"};
  if (const int window = state.windowOf[static_cast<std::size_t>(gauge)];
      window >= 0 && !state.open[static_cast<std::size_t>(window)]) {
    return {false, gaugeLine.name + " stands in " + gaugeLine.section + ", which is closed"};
  }
  const ClickOutcome outcome = instance->click(area, kind);
  state.applyWindowRequests();
  return outcome;
}

int GaugePanel::pressKey(const std::string& key) {
  State& state = *state_;
  int ran = 0;
  for (const State::Place& place : state.order) {
    if (place.window >= 0 && !state.open[static_cast<std::size_t>(place.window)]) continue;
    if (const auto& instance = state.instances[static_cast<std::size_t>(place.gauge)]) ran += instance->pressKey(key);
  }
  return ran;
}

void GaugePanel::setStringListener(StringListener listener) { state_->strings = std::move(listener); }

std::vector<int> GaugePanel::blinkingElements(int gauge) const {
  const auto& instance = state_->instances.at(static_cast<std::size_t>(gauge));
  return instance ? instance->blinkingElements() : std::vector<int>{};
}

const GaugeInstance* GaugePanel::instance(int gauge) const {
  return state_->instances.at(static_cast<std::size_t>(gauge)).get();
}

bool GaugePanel::setWindowOpen(std::string_view window, bool open) {
  const auto found = state_->windowNamed(window);
  if (!found) return false;
  state_->open[static_cast<std::size_t>(*found)] = open;
  return true;
}

const std::vector<PanelWindowSection>& GaugePanel::windows() const { return state_->windows; }

bool GaugePanel::windowOpen(int window) const {
  return state_->open.at(static_cast<std::size_t>(window));
}

const Findings& GaugePanel::findings() const { return state_->findings; }

}  // namespace vorlanex::gauges
