// The story of a run, sound by sound, derived from what the module, the
// script and the panel's gauges wrote, and what the script did: the model
// behind the timeline drawing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/slot_table.h"
#include "run_record.h"

namespace vorlanex::tool {

enum class SoundActivity { kIdle, kOnce, kLooping, kMissing };

struct SoundSpan {
  double start;
  double end;
  SoundActivity activity;
  int pan = 0;                         // hundredths of a decibel, from the command
  std::optional<double> volumePercent;  // as the module reported it when it started the sound
};

struct ValueMark {
  double time;
  double value;
  bool byModule;  // written by the module, not by the script or a gauge
  // The gauge that wrote it, as the log names it ("Cabin!chime_button,
  // FILE:LINE"); empty for the module and the script.
  std::string byGauge = "";
};

struct SoundLane {
  int index;
  std::string variable;
  std::vector<SoundSpan> spans;  // every state but idle
  std::vector<ValueMark> values;
};

enum class SwitchSetting { kOn, kOff, kAbsent };  // kAbsent: GLOBAL.DLL not loaded

// Each activity's and setting's name, as the timeline's drawing and the
// console's page show it: "idle", "playing once", "looping", "missing";
// "on", "off", "absent".
const char* activityName(SoundActivity activity);
const char* settingName(SwitchSetting setting);

struct SwitchSpan {
  double start;
  double end;
  SwitchSetting setting;
};

struct ExpectMark {
  double time;
  int line;
  std::string text;  // what was expected and what was found
  bool passed;
};

struct Timeline {
  double duration;
  std::vector<SoundLane> sounds;
  std::vector<SwitchSpan> simulatorSound;
  std::vector<double> stopAll;  // times the stop-all variable was set above 0
  std::vector<ExpectMark> expects;
};

// A timeline told as a run goes: each follow() takes only the frames the
// record gained since the last one, so a frame costs the same however long
// the run has been. `table` is the module's slot table for the run's INI
// file; the simulator's sound is on at the start when `globalDllAtStart`.
class TimelineBuilder {
 public:
  TimelineBuilder(const SoundTable& table, bool globalDllAtStart);
  ~TimelineBuilder();
  TimelineBuilder(const TimelineBuilder&) = delete;
  TimelineBuilder& operator=(const TimelineBuilder&) = delete;

  // Takes the steps and writes of the frames recorded since the last call.
  void follow(const RunRecord& record);
  // A builder made during a live session follows its frames from `frame` on.
  void skipTo(int frame);
  // What ended since the last take (spans, values, stop-alls, expectations),
  // handed over and no longer kept, with the duration followed so far: a
  // live view holds only what it shows.
  Timeline takeEnded();
  // The span a sound is in at `now`, not ended yet; none while it is idle.
  std::optional<SoundSpan> openSpan(std::size_t sound, double now) const;
  // The simulator's sound's span at `now`, not ended yet.
  SwitchSpan openSwitchSpan(double now) const;
  // Ends every open span at `duration`: what was not taken, the whole run
  // when nothing was.
  Timeline finish(double duration);

 private:
  struct Trackers;
  std::unique_ptr<Trackers> trackers_;
};

// The whole timeline of a run that has ended.
Timeline buildTimeline(const SoundTable& table, const RunRecord& record, bool globalDllAtStart);

}  // namespace vorlanex::tool
