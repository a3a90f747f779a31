#include "console_session.h"

#include "recorded_script.h"
#include "report_text.h"

namespace vorlanex::panel {

ConsoleSession::ConsoleSession(PanelFacts panel, SoundTable table, bool globalDll)
    : panel_(std::move(panel)), table_(table), globalDllAtStart_(globalDll) {
  // The run starts with GLOBAL.DLL loaded; a panel without it lets it go
  // before it is installed, as `at 0 unload GLOBAL.DLL` does.
  queuedSimulator_.globalDll = globalDll;
  if (!globalDll) queued_.push_back(Step{0, Step::kRightAfter, Action::kUnloadGlobal, {}});
}

ActionAnswer ConsoleSession::act(const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (quit_) return {409, "the console is shutting down"};
  SimulatorState simulator = queuedSimulator_;
  PageAction action = readPageAction(body, panel_, simulator);
  if (!action.refusal.empty()) return {400, action.refusal};
  queuedSimulator_ = simulator;
  queued_.insert(queued_.end(), action.steps.begin(), action.steps.end());
  if (action.quit) {
    quit_ = true;
    changed_.notify_all();
  }
  return {200, "queued for frame " + std::to_string(frame_ + 1)};
}

std::string ConsoleSession::stateAfter(long long after, std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, limit, [&] { return frame_ > after || quit_; });
  return quit_ ? std::string() : state_;
}

std::string ConsoleSession::script() {
  std::lock_guard<std::mutex> lock(mutex_);
  return script_;
}

void ConsoleSession::quit() {
  std::lock_guard<std::mutex> lock(mutex_);
  quit_ = true;
  changed_.notify_all();
}

bool ConsoleSession::quitting() {
  std::lock_guard<std::mutex> lock(mutex_);
  return quit_;
}

Script ConsoleSession::takeSteps() {
  std::lock_guard<std::mutex> lock(mutex_);
  Script steps{"console", std::move(queued_)};
  queued_.clear();
  for (const Step& step : steps.steps) {
    if (step.action == Action::kSoundOn || step.action == Action::kSoundOff) {
      appliedSimulator_.soundOn = step.action == Action::kSoundOn;
    } else if (step.action == Action::kLoadGlobal || step.action == Action::kUnloadGlobal) {
      appliedSimulator_.globalDll = step.action == Action::kLoadGlobal;
    }
  }
  return steps;
}

void ConsoleSession::frameDone(const RunRecord& record, const host::NamedVariables& variables) {
  // Built outside the lock: only this thread changes the record.
  std::string state = stateJson(record, variables);
  std::string script = recordedScript(
      record, "Recorded by vorlanex-panel console on " + panel_.iniPath + ". Replay it with\n  " +
                  "vorlanex-panel run " + panel_.iniPath + " THIS_FILE --fps " +
                  shortNumber(record.framesPerSecond));
  std::lock_guard<std::mutex> lock(mutex_);
  frame_ = record.frames - 1;
  state_ = std::move(state);
  script_ = std::move(script);
  changed_.notify_all();
}

}  // namespace vorlanex::panel
