#include "script_runner.h"

#include <algorithm>

#include "script_parser.h"

namespace vorlanex::tool {
namespace {

// Frame times are sums of 1/fps: a step at 1.5 s must not miss frame 27 at
// 18 fps by a rounding error.
constexpr double kTimeSlack = 1e-9;

}  // namespace

ScriptRunner::ScriptRunner(const host::ModuleExports& module, RunOptions options)
    : options_(std::move(options)), host_(module) {
  host_.setParameters(options_.parameters);
  host_.setFrameRate(options_.framesPerSecond);
  if (!options_.globalDllPath.empty()) {
    globalDll_ = std::make_unique<host::SimulatorSound>(options_.globalDllPath);
    globalDll_->set(soundSwitch_);
  }
}

ScriptRunner::~ScriptRunner() = default;

RunRecord ScriptRunner::run(const Script& script) {
  record_ = RunRecord{options_.framesPerSecond, 0, {}, {}};
  next_ = 0;
  resumeAt_ = 0.0;
  waitStarted_ = -1.0;
  const double frameLength = 1.0 / options_.framesPerSecond;
  const double longest = longestDuration(script);
  // A step that cannot be carried out ends the run: the panel is still taken
  // down, so its sounds and device are let go.
  struct Disconnect {
    host::PanelHost& host;
    ~Disconnect() { host.disconnect(); }
  } disconnect{host_};
  for (int frame = 0;; ++frame) {
    const double time = frame * frameLength;
    runDueSteps(script, frame, time);
    runFrame(frame, time);
    record_.frames = frame + 1;
    if (advance_) advance_(frame, frameLength);
    if (progress_) progress_(time, longest);
    // A final "wait" still lets its time pass.
    if (next_ == script.steps.size() && time + kTimeSlack >= resumeAt_) break;
  }
  return std::move(record_);
}

void ScriptRunner::playFrame(const Script& steps, int frame) {
  const double frameLength = 1.0 / options_.framesPerSecond;
  const double time = frame * frameLength;
  if (frame == 0) record_ = RunRecord{options_.framesPerSecond, 0, {}, {}};
  for (const Step& step : steps.steps) runStep(steps, step, frame, time);
  runFrame(frame, time);
  record_.frames = frame + 1;
  if (advance_) advance_(frame, frameLength);
}

void ScriptRunner::runFrame(int frame, double time) {
  std::vector<double> values = variableValues(host_.variables());
  host_.clearCalls();
  if (frame == 0) host_.install();
  host_.service(abi::kPreUpdate);
  noteGlobalDllSeen();
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
  host::NamedVariables& variables = host_.variables();
  resumeAt_ = time;
  switch (step.action) {
    case Action::kSet:
      // XML gauges create a variable by writing it.
      variables.set(variables.registerName(step.variable), step.value);
      event({frame, time, &step});
      break;
    case Action::kExpect: {
      const double actual = variables.valueOf(step.variable);
      event({frame, time, &step, actual == step.value, actual});
      break;
    }
    case Action::kWait:
      resumeAt_ = time + step.seconds;
      break;
    case Action::kWaitUntil: {
      if (waitStarted_ < 0.0) waitStarted_ = time;
      const double actual = variables.valueOf(step.variable);
      const bool reached = actual == step.value;
      if (!reached && time - waitStarted_ + kTimeSlack < step.seconds) return false;
      waitStarted_ = -1.0;
      event({frame, time, &step, reached, actual});
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
  }
  return true;
}

void ScriptRunner::event(StepEvent event) {
  record_.events.push_back(event);
  if (onStep_) onStep_(event);
}

}  // namespace vorlanex::tool
