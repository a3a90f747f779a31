#include "timeline.h"

#include <cstdint>
#include <cstdio>
#include <map>

#include "commands/command_value.h"
#include "panel/status_variables.h"
#include "report_text.h"

namespace vorlanex::panel {
namespace {

// The command a variable's value stands for, decoded as the module decodes it.
DecodedCommand commandIn(double value) { return decodeCommand(truncateToInt32(value)); }

// Follows one sound through the run.
class SoundTracker {
 public:
  explicit SoundTracker(SoundLane& lane) : lane_(lane) {}

  double value() const { return value_; }
  SoundState state() const { return state_; }

  void setValue(double time, double value, bool byModule) {
    if (value != value_) lane_.values.push_back({time, value, byModule});
    value_ = value;
  }

  // The script wrote the variable: a stop is heard at once.
  void scriptWrote(double time, double value) {
    setValue(time, value, false);
    if (commandIn(value).code == kCommandStop) enter(time, SoundState::kIdle);
  }

  // The module wrote the variable: the end of a one-shot, a stop-all, a
  // refused play, a status report or a missing file.
  void moduleWrote(double time, double value, std::int32_t errorValue) {
    const std::int32_t code = commandIn(value_).code;
    setValue(time, value, true);
    // The status, written back.
    if (code == kCommandApplyMasterVolume || code == kCommandReportVolume) return;
    const bool playing = state_ == SoundState::kOnce || state_ == SoundState::kLooping;
    if (playing && value == 0.0) {
      enter(time, SoundState::kIdle);
    } else if (!playing && value == errorValue) {
      enter(time, SoundState::kMissing);
    }
  }

  // The module reported the volume of this sound as it started it.
  void started(double time, double volumePercent) {
    const DecodedCommand command = commandIn(value_);
    enter(time, command.code == kCommandLoop ? SoundState::kLooping : SoundState::kOnce);
    pan_ = command.pan;
    volume_ = volumePercent;
  }

  void finish(double time) { enter(time, SoundState::kIdle); }

 private:
  void enter(double time, SoundState state) {
    if (state == state_ && state != SoundState::kOnce && state != SoundState::kLooping) return;
    if (state_ != SoundState::kIdle && time > since_) {
      lane_.spans.push_back({since_, time, state_, pan_, volume_});
    }
    state_ = state;
    since_ = time;
    pan_ = 0;
    volume_.reset();
  }

  SoundLane& lane_;
  double value_ = 0.0;
  SoundState state_ = SoundState::kIdle;
  double since_ = 0.0;
  int pan_ = 0;
  std::optional<double> volume_;
};

class SwitchTracker {
 public:
  SwitchTracker(std::vector<SwitchSpan>& spans, bool loaded) : spans_(spans), loaded_(loaded) {}

  void step(double time, Action action) {
    if (action == Action::kSoundOn || action == Action::kSoundOff) on_ = action == Action::kSoundOn;
    if (action == Action::kLoadGlobal || action == Action::kUnloadGlobal) {
      loaded_ = action == Action::kLoadGlobal;
    }
    const SwitchState now = state();
    if (now == current_) return;
    close(time);
    current_ = now;
  }

  void close(double time) {
    if (time > since_) spans_.push_back({since_, time, current_});
    since_ = time;
  }

 private:
  SwitchState state() const {
    return !loaded_ ? SwitchState::kAbsent : on_ ? SwitchState::kOn : SwitchState::kOff;
  }

  std::vector<SwitchSpan>& spans_;
  bool loaded_;
  bool on_ = true;
  SwitchState current_ = state();
  double since_ = 0.0;
};

std::string expectText(const StepEvent& event) {
  const Step& step = *event.step;
  std::string text = (step.action == Action::kExpect ? "expect " : "wait until ") + step.variable +
                     " " + shortNumber(step.value);
  if (step.action == Action::kWaitUntil) text += " within " + shortNumber(step.seconds);
  return text + ": found " + shortNumber(event.actual);
}

}  // namespace

Timeline buildTimeline(const SoundTable& table, const RunRecord& record, bool globalDllAtStart) {
  Timeline timeline;
  timeline.duration = record.frames / record.framesPerSecond;
  timeline.sounds.reserve(static_cast<std::size_t>(table.soundCount));
  for (int i = 0; i < table.soundCount; ++i) {
    timeline.sounds.push_back({i, table.slots[i].varName, {}, {}});
  }
  std::vector<SoundTracker> sounds;
  std::multimap<std::string, SoundTracker*> byVariable;  // sounds may share a variable
  sounds.reserve(timeline.sounds.size());
  for (SoundLane& lane : timeline.sounds) sounds.emplace_back(lane);
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    byVariable.emplace(timeline.sounds[i].variable, &sounds[i]);
  }
  const std::string stopAll = table.stopAll.varName;
  SwitchTracker simulatorSound(timeline.simulatorSound, globalDllAtStart);

  auto forSounds = [&](const std::string& variable, auto action) {
    const auto range = byVariable.equal_range(variable);
    for (auto it = range.first; it != range.second; ++it) action(*it->second);
  };

  // Within a frame the script's steps come first, then the module's writes.
  auto event = record.events.begin();
  auto write = record.writes.begin();
  for (int frame = 0; frame < record.frames; ++frame) {
    for (; event != record.events.end() && event->frame == frame; ++event) {
      const Step& step = *event->step;
      if (step.action == Action::kSet) {
        forSounds(step.variable, [&](SoundTracker& s) { s.scriptWrote(event->time, step.value); });
        if (step.variable == stopAll && step.value > 0.0) timeline.stopAll.push_back(event->time);
      } else if (step.action == Action::kExpect || step.action == Action::kWaitUntil) {
        timeline.expects.push_back({event->time, step.line, expectText(*event), event->passed});
      } else {
        simulatorSound.step(event->time, step.action);
      }
    }
    for (; write != record.writes.end() && write->frame == frame; ++write) {
      if (write->name == kVolumePlayedVariable) {
        forSounds(write->during, [&](SoundTracker& s) { s.started(write->time, write->newValue); });
      }
      forSounds(write->name, [&](SoundTracker& s) {
        s.moduleWrote(write->time, write->newValue, table.errorValue);
      });
    }
  }
  for (SoundTracker& sound : sounds) sound.finish(timeline.duration);
  simulatorSound.close(timeline.duration);
  return timeline;
}

}  // namespace vorlanex::panel
