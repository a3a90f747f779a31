#include "console_session.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "recorded_script.h"
#include "report_text.h"

namespace vorlanex::tool {

ConsoleSession::ConsoleSession(PanelFacts panel, const SoundTable& table, bool globalDll,
                               std::string replayCommand)
    : panel_(std::move(panel)),
      heading_(scriptHeading(
          "Recorded by vorlanex-panel console on " + panel_.iniPath + ". Replay it with\n  " +
          replayCommand + "\n" +
          "The panel's files are read as they are when it is replayed; the lines that mark a "
          "reload say which files the session saw saved." +
          (globalDll ? std::string()
                     : "\nThe session started without GLOBAL.DLL (--no-global-dll): its first "
                       "step unloads it."))),
      timeline_(std::make_unique<TimelineBuilder>(table, globalDll)),
      facts_(factsJson()) {
  // The run starts with GLOBAL.DLL loaded; a panel without it lets it go
  // before it is installed, as `at 0 unload GLOBAL.DLL` does.
  queuedSimulator_.globalDll = globalDll;
  if (!globalDll) queue(Step{0, Step::kRightAfter, Action::kUnloadGlobal, {}});
}

// Each step stands on the line the recorded script will give it, so what
// names a step's line (an event the page sent) reads the same in the replay.
void ConsoleSession::queue(Step step) {
  step.line = static_cast<int>(std::count(heading_.begin(), heading_.end(), '\n') + markLines_ +
                               ++queuedSteps_);
  queued_.push_back(std::move(step));
}

void ConsoleSession::setUnheard(std::string why) {
  std::lock_guard<std::mutex> lock(mutex_);
  unheard_ = std::move(why);
  facts_ = factsJson();
}

void ConsoleSession::showGauges(std::unique_ptr<GaugeView> gauges) {
  std::lock_guard<std::mutex> lock(mutex_);
  gauges_ = std::move(gauges);
  queuedSimulator_.windowsOpen = gauges_->facts()->windowsOpen;
  facts_ = factsJson();
}

ActionAnswer ConsoleSession::act(const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (quit_) return {409, "the console is shutting down"};
  SimulatorSide simulator = queuedSimulator_;
  PageAction action = readPageAction(body, panel_, simulator, gauges_.get());
  if (!action.refusal.empty()) return {400, action.refusal};
  queuedSimulator_ = simulator;
  for (const Step& step : action.steps) queue(step);
  if (action.quit) {
    quit_ = true;
    changed_.notify_all();
  }
  return {200, "queued for frame " + std::to_string(frame_ + 1)};
}

std::string ConsoleSession::stateAfter(long long after, std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, limit, [&] { return frame_ > after || quit_; });
  if (quit_) return {};
  if (frame_ < 0) return R"({"frame":-1})";
  std::string answer = "{";
  // A page that shows none, or one that shows the panel as it was before a
  // reload read its gauges or windows again, is sent the facts.
  if (after < 0 || factsChanged_ > after) answer += "\"panel\":" + facts_ + ",";
  answer += "\"events\":[";
  // The events are in the order of their frames.
  const auto first = std::partition_point(events_.begin(), events_.end(),
                                          [&](const TimelineEvent& e) { return e.frame <= after; });
  for (auto it = first; it != events_.end(); ++it) {
    if (it != first) answer += ',';
    answer += it->json;
  }
  answer += "]";
  for (const auto& [name, part] : state_) {
    if (part.changed > after) answer += ",\"" + name + "\":" + part.json;
  }
  return answer + "}";
}

std::string ConsoleSession::script() {
  std::lock_guard<std::mutex> lock(mutex_);
  return script_ + lastFrameLine(static_cast<int>(frame_ + 1), framesPerSecond_);
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
  // Made outside the lock: only this thread changes the record, the timeline
  // and the script's cursor.
  const long long frame = record.frames - 1;
  timeline_->follow(record);
  std::vector<TimelineEvent> ended = endedEvents(frame);
  Parts parts = frameParts(record, variables);
  std::string lines = newScriptLines(record);
  std::lock_guard<std::mutex> lock(mutex_);
  frame_ = frame;
  framesPerSecond_ = record.framesPerSecond;
  for (auto& [name, json] : parts) {
    auto [part, added] = state_.try_emplace(name, Part{json, frame, frame});
    part->second.seen = frame;
    if (added || part->second.json == json) continue;
    part->second.json = std::move(json);
    part->second.changed = frame;
  }
  // A part the frame no longer has (an item past a shorter display list) is
  // let go: when it comes back it is new, whatever it held before.
  for (auto it = state_.begin(); it != state_.end();) it = it->second.seen == frame ? std::next(it) : state_.erase(it);
  script_ += lines;
  for (TimelineEvent& event : ended) events_.push_back(std::move(event));
  const double from = record.frames / record.framesPerSecond - kTimelineWindow;
  while (!events_.empty() && events_.front().time < from) events_.pop_front();
  changed_.notify_all();
}

void ConsoleSession::noteReload(ReloadNote note, bool layoutChanged) {
  char at[32];
  std::snprintf(at, sizeof at, "%.2f", note.time);
  std::string mark = std::string("# reloaded at ") + at + " s:";
  for (const std::string& file : note.saved) mark += " " + file;
  mark += "\n";
  for (const std::string& done : note.reloaded) mark += "#   " + done + "\n";
  const nlohmann::json shown = {{"time", note.time}, {"saved", note.saved}, {"reloaded", note.reloaded},
                                {"findings", note.findings}, {"gauges", note.gauges}};
  reloads_.push_back(shown.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  if (reloads_.size() > kReloadsShown) reloads_.pop_front();
  reloadsJson_ = "[";
  for (const std::string& reload : reloads_) reloadsJson_ += (reloadsJson_.size() > 1 ? "," : "") + reload;
  reloadsJson_ += "]";
  // The facts are made outside the lock, which the server's threads wait on.
  if (layoutChanged && gauges_) gauges_->remakeFacts();
  const std::string facts = layoutChanged ? factsJson() : std::string();
  std::lock_guard<std::mutex> lock(mutex_);
  // The mark stands before the steps of the frame the reload starts, which
  // were queued already: they move down by its lines.
  const int lines = static_cast<int>(std::count(mark.begin(), mark.end(), '\n'));
  markLines_ += lines;
  for (Step& step : queued_) step.line += lines;
  script_ += mark;
  if (layoutChanged) {
    if (gauges_) queuedSimulator_.windowsOpen = gauges_->facts()->windowsOpen;
    facts_ = facts;
    factsChanged_ = frame_ + 1;
  }
}

void ConsoleSession::replaceSounds(PanelFacts panel, const SoundTable& table, int frame) {
  std::vector<std::string> before, after;
  for (const SoundFacts& sound : panel_.sounds) before.push_back(sound.variable);
  for (const SoundFacts& sound : panel.sounds) after.push_back(sound.variable);
  std::lock_guard<std::mutex> lock(mutex_);
  if (before != after || panel.stopAllVariable != panel_.stopAllVariable) {
    timeline_ = std::make_unique<TimelineBuilder>(table, appliedSimulator_.globalDll);
    timeline_->skipTo(frame);
    events_.clear();
  }
  panel_ = std::move(panel);
  facts_ = factsJson();
  factsChanged_ = frame_ + 1;
}

std::string ConsoleSession::newScriptLines(const RunRecord& record) {
  std::string lines;
  if (record.frames == 1) lines = heading_;
  for (; scriptedEvents_ < record.events.size(); ++scriptedEvents_) {
    lines += scriptLine(record.events[scriptedEvents_]);
  }
  return lines;
}

}  // namespace vorlanex::tool
