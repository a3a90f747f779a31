#include "script_runner.h"

#include <algorithm>
#include <cmath>

#include "host_shared_variables.h"
#include "platform/portable/ascii_case.h"
#include "script_parser.h"

namespace vorlanex::tool {
namespace {

// Frame times are sums of 1/fps: a step at 1.5 s must not miss frame 27 at
// 18 fps by a rounding error.
constexpr double kTimeSlack = 1e-9;

// Unit conversions rarely land exactly: 15 celsius read through kelvin is
// 15.000000000000028. An expected value holds within this part of itself.
constexpr double kValueTolerance = 1e-6;

gauges::ScriptSite scriptSite(const Script& script, const Step& step) {
  return {"", script.file, step.line, stepText(step, Digits::kShort)};
}

bool namesWindow(const gauges::PanelWindowSection& window, const std::string& name) {
  return platform::equalNoCase(window.section, name) ||
         (!window.ident.empty() && platform::equalNoCase(window.ident, name));
}

}  // namespace

bool holdsValue(double actual, double expected) {
  return std::fabs(actual - expected) <=
         kValueTolerance * std::max(std::fabs(actual), std::fabs(expected));
}

namespace {

bool sameVariable(const StepVariable& a, const StepVariable& b) {
  if (a.name.kind != b.name.kind || a.name.index != b.name.index) return false;
  // Simulator variables' names are told apart without regard to case.
  return a.panelVariable() ? a.name.name == b.name.name
                           : gauges::simulatorKey(a.name.name) == gauges::simulatorKey(b.name.name);
}

}  // namespace

// The gauges, the aircraft they read and the L: variables they share with
// the module, which are the host's.
struct ScriptRunner::Panel {
  Panel(RunPanel setup, host::NamedVariables& variables, HostSharedVariables::Listener listener)
      : shared(variables, std::move(listener)),
        moduleLine(setup.module ? setup.gauges.at(*setup.module).line : -1),
        gauges(std::move(setup.windows), std::move(setup.gauges), shared, aircraft) {}

  HostSharedVariables shared;
  gauges::SimulatedAircraft aircraft;
  int moduleLine;  // of panel.cfg; -1 when the panel has no line of the module
  gauges::GaugePanel gauges;
  std::size_t eventsSeen = 0;  // of the aircraft's, in the record already
};

ScriptRunner::ScriptRunner(const host::ModuleExports& module, RunOptions options)
    : options_(std::move(options)),
      host_(module),
      followed_(options_.followed.begin(), options_.followed.end()) {
  host_.setParameters(options_.parameters);
  host_.setFrameRate(options_.framesPerSecond);
  if (!options_.globalDllPath.empty()) {
    globalDll_ = std::make_unique<host::SimulatorSound>(options_.globalDllPath);
    globalDll_->set(soundSwitch_);
  }
}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::usePanel(RunPanel panel) {
  panel_ = std::make_unique<Panel>(
      std::move(panel), host_.variables(),
      [this](const std::string& name, double oldValue, double newValue,
             const gauges::ScriptSite& site) {
        if (onGaugeWrite_) onGaugeWrite_(name, newValue, site);
        // Gauges write their own variables in every frame: only the module's
        // are worth a copy of where the write stands.
        if (follows(name)) recordWrite(name, oldValue, newValue, {Writer::Kind::kGauge, site});
      });
  // The module runs at its own gauge line's place, while its window is open.
  panel_->gauges.setOtherGauge([this](const gauges::PanelGaugeLine& gauge) {
    if (gauge.line == panel_->moduleLine) runModule(frame_, time_);
  });
  panel_->gauges.setStringListener([this](const gauges::ScriptSite& site, const std::string& text) {
    if (record_.strings.size() < RunRecord::kMostStringTexts) record_.strings.push_back({frame_, time_, site, text});
  });
}

void ScriptRunner::takeDownModule() {
  if (installed_) host_.disconnect();
  installed_ = false;
  host_.releaseModule();
}

void ScriptRunner::useModule(const host::ModuleExports& module) { host_.useModule(module); }

void ScriptRunner::replaceLayout(RunPanel panel) {
  panel_->moduleLine = panel.module ? panel.gauges.at(*panel.module).line : -1;
  panel_->gauges.replaceLayout(std::move(panel.windows), std::move(panel.gauges));
}

gauges::GaugePanel* ScriptRunner::gaugePanel() { return panel_ ? &panel_->gauges : nullptr; }

gauges::SimulatedAircraft* ScriptRunner::aircraft() {
  return panel_ ? &panel_->aircraft : nullptr;
}

RunRecord ScriptRunner::run(const Script& script) {
  checkPanelSteps(script);
  record_ = RunRecord{options_.framesPerSecond, 0, {}, {}, {}, {}};
  next_ = 0;
  resumeAt_ = 0.0;
  waitStarted_ = -1.0;
  ramps_.clear();
  const double frameLength = 1.0 / options_.framesPerSecond;
  const double longest = longestDuration(script);
  // A step that cannot be carried out ends the run: the panel is still taken
  // down, so its sounds and device are let go.
  struct Disconnect {
    ScriptRunner& runner;
    ~Disconnect() {
      if (runner.installed_) runner.host_.disconnect();
    }
  } disconnect{*this};
  for (int frame = 0;; ++frame) {
    const double time = frame * frameLength;
    frame_ = frame;
    time_ = time;
    runDueSteps(script, frame, time);
    advanceRamps(time);
    runFrame(frame, time);
    record_.frames = frame + 1;
    if (advance_) advance_(frame, frameLength);
    if (progress_) progress_(time, longest);
    // A final "wait" still lets its time pass, and ramps run to their end.
    if (next_ == script.steps.size() && time + kTimeSlack >= resumeAt_ && ramps_.empty()) break;
  }
  return std::move(record_);
}

void ScriptRunner::playFrame(const Script& steps, int frame) {
  const double frameLength = 1.0 / options_.framesPerSecond;
  const double time = frame * frameLength;
  frame_ = frame;
  time_ = time;
  if (frame == 0) record_ = RunRecord{options_.framesPerSecond, 0, {}, {}, {}, {}};
  for (const Step& step : steps.steps) runStep(steps, step, frame, time);
  advanceRamps(time);
  runFrame(frame, time);
  record_.frames = frame + 1;
  if (advance_) advance_(frame, frameLength);
}

// Without gauges the module's pre-update is the frame; with them the panel
// runs the module in its place.
void ScriptRunner::runFrame(int frame, double time) {
  if (!panel_) {
    runModule(frame, time);
    return;
  }
  panel_->gauges.runFrame(1.0 / options_.framesPerSecond);
  recordSentEvents();
}

void ScriptRunner::runModule(int frame, double time) {
  std::vector<double> values = variableValues(host_.variables());
  host_.clearCalls();
  if (!installed_) {
    host_.install();
    installed_ = true;
  }
  host_.service(abi::kPreUpdate);
  noteGlobalDllSeen();
  recordSentEvents();
  const std::size_t first = record_.writes.size();
  collectWrites(host_.calls(), host_.variables(), frame, time, values, record_.writes);
  host_.clearCalls();
  if (onWrite_) {
    std::for_each(record_.writes.begin() + static_cast<std::ptrdiff_t>(first),
                  record_.writes.end(), onWrite_);
  }
}

// The module takes GLOBAL.DLL's handle at pre-install, or at the first
// pre-update that finds it loaded, and keeps it.
void ScriptRunner::noteGlobalDllSeen() {
  if (globalDll_) moduleHoldsGlobalDll_ = true;
}

void ScriptRunner::runDueSteps(const Script& script, int frame, double time) {
  while (next_ < script.steps.size()) {
    const Step& step = script.steps[next_];
    if (time + kTimeSlack < std::max(step.at, resumeAt_)) return;
    if (!runStep(script, step, frame, time)) return;
    ++next_;
  }
}

bool ScriptRunner::runStep(const Script& script, const Step& step, int frame, double time) {
  resumeAt_ = time;
  switch (step.action) {
    case Action::kSet:
      // XML gauges create a variable by writing it.
      write(step.variable, step.value, {Writer::Kind::kScript, scriptSite(script, step)});
      event({frame, time, &step});
      break;
    case Action::kExpect: {
      const double actual = read(step.variable);
      event({frame, time, &step, holdsValue(actual, step.value), actual});
      break;
    }
    case Action::kWait:
      resumeAt_ = time + step.seconds;
      break;
    case Action::kWaitUntil: {
      if (waitStarted_ < 0.0) waitStarted_ = time;
      const double actual = read(step.variable);
      const bool reached = holdsValue(actual, step.value);
      if (!reached && time - waitStarted_ + kTimeSlack < step.seconds) return false;
      waitStarted_ = -1.0;
      event({frame, time, &step, reached, actual});
      break;
    }
    case Action::kRamp: {
      // A new ramp of the variable takes over from one under way.
      ramps_.erase(std::remove_if(ramps_.begin(), ramps_.end(),
                                  [&](const Ramp& r) {
                                    return sameVariable(r.step->variable, step.variable);
                                  }),
                   ramps_.end());
      ramps_.push_back({&step, script.file, read(step.variable), time});
      event({frame, time, &step});
      break;
    }
    case Action::kSoundOn:
    case Action::kSoundOff:
      soundSwitch_ = step.action == Action::kSoundOn ? 1 : 0;
      if (globalDll_) globalDll_->set(soundSwitch_);
      event({frame, time, &step});
      break;
    case Action::kLoadGlobal:
      if (globalDll_) throw ScriptError(script.file, step.line, "GLOBAL.DLL is loaded already");
      if (options_.globalDllPath.empty()) {
        throw ScriptError(script.file, step.line, "no GLOBAL.DLL stand-in to load");
      }
      globalDll_ = std::make_unique<host::SimulatorSound>(options_.globalDllPath);
      globalDll_->set(soundSwitch_);
      event({frame, time, &step});
      break;
    case Action::kUnloadGlobal:
      if (!globalDll_) throw ScriptError(script.file, step.line, "GLOBAL.DLL is not loaded");
      if (moduleHoldsGlobalDll_) {
        throw ScriptError(script.file, step.line,
                          "GLOBAL.DLL cannot be unloaded once the module holds its handle (the "
                          "simulator never unloads it): unload it at time 0, before the panel "
                          "is installed");
      }
      globalDll_.reset();
      event({frame, time, &step});
      break;
    case Action::kClick:
    case Action::kEvent:
    case Action::kOpenWindow:
    case Action::kCloseWindow:
      runPanelStep(script, step);
      event({frame, time, &step});
      break;
  }
  return true;
}

void ScriptRunner::runPanelStep(const Script& script, const Step& step) {
  if (!panel_) throw ScriptError(script.file, step.line, "this step needs the panel's gauges");
  gauges::GaugePanel& gauges = panel_->gauges;
  switch (step.action) {
    case Action::kClick: {
      const std::optional<int> gauge = gauges.findGauge(step.target);
      if (!gauge) throw ScriptError(script.file, step.line, "no gauge " + step.target);
      const gauges::ClickOutcome outcome = gauges.click(
          *gauge, step.area, step.mouseKind.empty() ? kPlainClick : step.mouseKind);
      if (!outcome.found) throw ScriptError(script.file, step.line, outcome.problem);
      return;
    }
    case Action::kEvent:
      panel_->aircraft.send(step.target, step.value, scriptSite(script, step));
      recordSentEvents();
      return;
    case Action::kOpenWindow:
    case Action::kCloseWindow:
      if (!gauges.setWindowOpen(step.target, step.action == Action::kOpenWindow)) {
        throw ScriptError(script.file, step.line, "no window " + step.target);
      }
      return;
    default:
      return;
  }
}

// Each ramp moves its variable a step every frame after the one it started
// in, and lands on its value exactly when its time is up.
void ScriptRunner::advanceRamps(double time) {
  for (auto it = ramps_.begin(); it != ramps_.end();) {
    const Step& step = *it->step;
    const double elapsed = time - it->start;
    const bool done = elapsed + kTimeSlack >= step.seconds;
    if (elapsed > kTimeSlack || done) {
      const double value =
          done ? step.value : it->from + (step.value - it->from) * (elapsed / step.seconds);
      write(step.variable, value,
            {Writer::Kind::kScript,
             {"", it->script, step.line, stepText(step, Digits::kShort)}});
    }
    it = done ? ramps_.erase(it) : it + 1;
  }
}

double ScriptRunner::read(const StepVariable& variable) {
  if (!variable.panelVariable()) return panel_->aircraft.read(variable.name);
  const double value = host_.variables().valueOf(variable.name.name);
  // Gauges read a number as bool as 0 or 1.
  return variable.name.unit == "bool" ? (value != 0.0 ? 1.0 : 0.0) : value;
}

void ScriptRunner::write(const StepVariable& variable, double value, const Writer& writer) {
  if (!variable.panelVariable()) {
    panel_->aircraft.write(variable.name, value);
    return;
  }
  host::NamedVariables& variables = host_.variables();
  const std::int32_t id = variables.registerName(variable.name.name);
  const double old = variables.get(id);
  variables.set(id, value);
  if (follows(variable.name.name)) recordWrite(variable.name.name, old, value, writer);
}

bool ScriptRunner::follows(const std::string& name) const {
  return followed_.empty() || followed_.count(name) != 0;
}

void ScriptRunner::recordWrite(const std::string& name, double oldValue, double newValue,
                               Writer writer) {
  // Events the writer sent before this write come before it in the log.
  recordSentEvents();
  record_.writes.push_back({frame_, time_, name, oldValue, newValue, "", std::move(writer)});
  if (onWrite_) onWrite_(record_.writes.back());
}

void ScriptRunner::recordSentEvents() {
  if (!panel_) return;
  const std::vector<gauges::SentEvent>& sent = panel_->aircraft.events();
  for (; panel_->eventsSeen < sent.size(); ++panel_->eventsSeen) {
    const gauges::SentEvent& e = sent[panel_->eventsSeen];
    const Writer::Kind kind = e.sender.gauge.empty() ? Writer::Kind::kScript : Writer::Kind::kGauge;
    record_.sentEvents.push_back({frame_, time_, e.event, e.value, {kind, e.sender}});
    if (onSent_) onSent_(record_.sentEvents.back());
  }
}

void ScriptRunner::forgetBefore(double time) {
  record_.forgetBefore(time);
  if (!panel_) return;
  panel_->aircraft.forgetEvents(panel_->eventsSeen);
  panel_->eventsSeen = 0;
}

// Whatever can be told before the run is told before it: a step that needs
// the panel without one, a click on a gauge the panel lacks, a window it
// does not have.
void ScriptRunner::checkPanelSteps(const Script& script) const {
  if (!panel_) {
    requireNoPanelSteps(script);
    return;
  }
  const gauges::GaugePanel& gauges = panel_->gauges;
  for (const Step& step : script.steps) {
    if (step.action == Action::kClick && !gauges.findGauge(step.target)) {
      std::string names;
      std::string longer;  // a gauge whose name goes on past an "at" or "as"
      for (const gauges::PanelGaugeLine& gauge : gauges.gauges()) {
        if (!gauge.text) continue;
        names += (names.empty() ? "" : ", ") + gauge.name;
        const std::string_view start =
            std::string_view(gauge.name).substr(0, step.target.size() + 1);
        if (longer.empty() && platform::equalNoCase(start, step.target + " ")) longer = gauge.name;
      }
      throw ScriptError(script.file, step.line,
                        "no gauge line of the panel loads the XML gauge '" + step.target +
                            "' (its XML gauges: " + (names.empty() ? "none" : names) + ")" +
                            (longer.empty() ? "" : ": write a name that holds blanks in quotes, "
                                                   "click \"" + longer + "\""));
    }
    if (step.action != Action::kOpenWindow && step.action != Action::kCloseWindow) continue;
    const auto& windows = gauges.windows();
    if (std::none_of(windows.begin(), windows.end(), [&](const gauges::PanelWindowSection& w) {
          return namesWindow(w, step.target);
        })) {
      std::string names;
      for (const gauges::PanelWindowSection& w : windows) {
        names += (names.empty() ? "" : ", ") + w.section + (w.ident.empty() ? "" : " (" + w.ident + ")");
      }
      throw ScriptError(script.file, step.line,
                        "the panel has no window '" + step.target + "' (its windows: " +
                            (names.empty() ? "none" : names) + ")");
    }
  }
}

void ScriptRunner::event(StepEvent event) {
  record_.events.push_back(event);
  if (onStep_) onStep_(event);
}

}  // namespace vorlanex::tool
