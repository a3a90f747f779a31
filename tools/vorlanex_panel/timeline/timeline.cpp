#include "timeline.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

#include "commands/command_value.h"
#include "panel/status_variables.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

// The command a variable's value stands for, decoded as the module decodes it.
DecodedCommand commandIn(double value) { return decodeCommand(truncateToInt32(value)); }

// Follows one sound through the run.
class SoundTracker {
 public:
  explicit SoundTracker(SoundLane& lane) : lane_(lane) {}

  double value() const { return value_; }
  SoundActivity state() const { return state_; }

  void setValue(double time, double value, bool byModule, const std::string& byGauge = "") {
    if (value != value_) lane_.values.push_back({time, value, byModule, byGauge});
    value_ = value;
  }

  // The script or a gauge wrote the variable: a stop is heard at once.
  void panelWrote(double time, double value, const std::string& byGauge) {
    setValue(time, value, false, byGauge);
    if (commandIn(value).code == kCommandStop) enter(time, SoundActivity::kIdle);
  }

  // The module wrote the variable: the end of a one-shot, a stop-all, a
  // refused play, a status report or a missing file.
  void moduleWrote(double time, double value, std::int32_t errorValue) {
    const std::int32_t code = commandIn(value_).code;
    setValue(time, value, true);
    // The status, written back.
    if (code == kCommandApplyMasterVolume || code == kCommandReportVolume) return;
    const bool playing = state_ == SoundActivity::kOnce || state_ == SoundActivity::kLooping;
    if (playing && value == 0.0) {
      enter(time, SoundActivity::kIdle);
    } else if (!playing && value == errorValue) {
      enter(time, SoundActivity::kMissing);
    }
  }

  // The module reported the volume of this sound as it started it.
  void started(double time, double volumePercent) {
    const DecodedCommand command = commandIn(value_);
    enter(time, command.code == kCommandLoop ? SoundActivity::kLooping : SoundActivity::kOnce);
    pan_ = command.pan;
    volume_ = volumePercent;
  }

  void finish(double time) { enter(time, SoundActivity::kIdle); }

  std::optional<SoundSpan> open(double now) const {
    if (state_ == SoundActivity::kIdle) return std::nullopt;
    return SoundSpan{since_, now, state_, pan_, volume_};
  }

 private:
  void enter(double time, SoundActivity state) {
    if (state == state_ && state != SoundActivity::kOnce && state != SoundActivity::kLooping) return;
    if (state_ != SoundActivity::kIdle && time > since_) {
      lane_.spans.push_back({since_, time, state_, pan_, volume_});
    }
    state_ = state;
    since_ = time;
    pan_ = 0;
    volume_.reset();
  }

  SoundLane& lane_;
  double value_ = 0.0;
  SoundActivity state_ = SoundActivity::kIdle;
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
    const SwitchSetting now = state();
    if (now == current_) return;
    close(time);
    current_ = now;
  }

  void close(double time) {
    if (time > since_) spans_.push_back({since_, time, current_});
    since_ = time;
  }

  SwitchSpan open(double now) const { return {since_, now, current_}; }

 private:
  SwitchSetting state() const {
    return !loaded_ ? SwitchSetting::kAbsent : on_ ? SwitchSetting::kOn : SwitchSetting::kOff;
  }

  std::vector<SwitchSpan>& spans_;
  bool loaded_;
  bool on_ = true;
  SwitchSetting current_ = state();
  double since_ = 0.0;
};

std::string expectText(const StepEvent& event) {
  return stepText(*event.step, Digits::kShort) + ": found " + shortNumber(event.actual);
}

}  // namespace

const char* activityName(SoundActivity activity) {
  switch (activity) {
    case SoundActivity::kOnce:
      return "playing once";
    case SoundActivity::kLooping:
      return "looping";
    case SoundActivity::kMissing:
      return "missing";
    case SoundActivity::kIdle:
      break;
  }
  return "idle";
}

const char* settingName(SwitchSetting setting) {
  switch (setting) {
    case SwitchSetting::kOn:
      return "on";
    case SwitchSetting::kOff:
      return "off";
    case SwitchSetting::kAbsent:
      break;
  }
  return "absent";
}

// The trackers of every sound and of the simulator's sound, writing into the
// timeline they hold.
struct TimelineBuilder::Trackers {
  Trackers(const SoundTable& table, bool globalDllAtStart)
      : stopAll(table.stopAll.varName),
        errorValue(table.errorValue),
        simulatorSound(timeline.simulatorSound, globalDllAtStart) {
    timeline.duration = 0.0;
    timeline.sounds.reserve(static_cast<std::size_t>(table.soundCount));
    for (int i = 0; i < table.soundCount; ++i) {
      timeline.sounds.push_back({i, table.slots[i].varName, {}, {}});
    }
    sounds.reserve(timeline.sounds.size());
    for (SoundLane& lane : timeline.sounds) sounds.emplace_back(lane);
    for (std::size_t i = 0; i < sounds.size(); ++i) {
      byVariable.emplace(timeline.sounds[i].variable, &sounds[i]);
    }
  }

  template <typename Visit>
  void forSounds(const std::string& variable, Visit visit) {
    const auto range = byVariable.equal_range(variable);
    for (auto it = range.first; it != range.second; ++it) visit(*it->second);
  }

  // Within a frame the script's steps come first; the writes, the script's,
  // the gauges' and the module's, follow in the order they were made.
  void playFrame(const RunRecord& record, int frame) {
    for (; nextEvent < record.events.size() && record.events[nextEvent].frame == frame;
         ++nextEvent) {
      const StepEvent& event = record.events[nextEvent];
      const Step& step = *event.step;
      if (step.action == Action::kExpect || step.action == Action::kWaitUntil) {
        timeline.expects.push_back({event.time, step.line, expectText(event), event.passed});
      } else {
        simulatorSound.step(event.time, step.action);
      }
    }
    // Writes the record let go before they were followed are lost to it.
    nextWrite = std::max(nextWrite, record.forgottenWrites);
    for (; nextWrite - record.forgottenWrites < record.writes.size() &&
           record.writes[nextWrite - record.forgottenWrites].frame == frame;
         ++nextWrite) {
      const VariableWrite& write = record.writes[nextWrite - record.forgottenWrites];
      if (write.writer.kind != Writer::Kind::kModule) {
        const std::string byGauge =
            write.writer.kind == Writer::Kind::kGauge ? writerText(write.writer) : "";
        forSounds(write.name, [&](SoundTracker& s) { s.panelWrote(write.time, write.newValue, byGauge); });
        if (write.name == stopAll && write.newValue > 0.0) timeline.stopAll.push_back(write.time);
        continue;
      }
      if (write.name == kVolumePlayedVariable) {
        forSounds(write.during, [&](SoundTracker& s) { s.started(write.time, write.newValue); });
      }
      forSounds(write.name,
                [&](SoundTracker& s) { s.moduleWrote(write.time, write.newValue, errorValue); });
    }
  }

  Timeline timeline;
  std::vector<SoundTracker> sounds;
  std::multimap<std::string, SoundTracker*> byVariable;  // sounds may share a variable
  const std::string stopAll;
  const std::int32_t errorValue;
  SwitchTracker simulatorSound;
  int nextFrame = 0;
  std::size_t nextEvent = 0;
  std::size_t nextWrite = 0;  // counted from the run's first write
};

TimelineBuilder::TimelineBuilder(const SoundTable& table, bool globalDllAtStart)
    : trackers_(std::make_unique<Trackers>(table, globalDllAtStart)) {}

TimelineBuilder::~TimelineBuilder() = default;

void TimelineBuilder::follow(const RunRecord& record) {
  Trackers& t = *trackers_;
  for (; t.nextFrame < record.frames; ++t.nextFrame) t.playFrame(record, t.nextFrame);
  t.timeline.duration = record.frames / record.framesPerSecond;
}

void TimelineBuilder::skipTo(int frame) { trackers_->nextFrame = frame; }

Timeline TimelineBuilder::takeEnded() {
  Timeline& kept = trackers_->timeline;
  Timeline ended{kept.duration, {}, {}, {}, {}};
  ended.sounds.reserve(kept.sounds.size());
  // The trackers write into the kept vectors: they are emptied, never replaced.
  for (SoundLane& lane : kept.sounds) {
    ended.sounds.push_back({lane.index, lane.variable, std::exchange(lane.spans, {}),
                            std::exchange(lane.values, {})});
  }
  ended.simulatorSound = std::exchange(kept.simulatorSound, {});
  ended.stopAll = std::exchange(kept.stopAll, {});
  ended.expects = std::exchange(kept.expects, {});
  return ended;
}

std::optional<SoundSpan> TimelineBuilder::openSpan(std::size_t sound, double now) const {
  return trackers_->sounds.at(sound).open(now);
}

SwitchSpan TimelineBuilder::openSwitchSpan(double now) const {
  return trackers_->simulatorSound.open(now);
}

Timeline TimelineBuilder::finish(double duration) {
  Trackers& t = *trackers_;
  for (SoundTracker& sound : t.sounds) sound.finish(duration);
  t.simulatorSound.close(duration);
  t.timeline.duration = duration;
  return std::move(t.timeline);
}

Timeline buildTimeline(const SoundTable& table, const RunRecord& record, bool globalDllAtStart) {
  TimelineBuilder builder(table, globalDllAtStart);
  builder.follow(record);
  return builder.finish(record.frames / record.framesPerSecond);
}

}  // namespace vorlanex::tool
