// The state the page is shown after each frame, as JSON: every value comes
// from the panel's variables or from what the module wrote, never from the
// page's own clicks.
#include <nlohmann/json.hpp>

#include "console_session.h"
#include "panel/status_variables.h"

namespace vorlanex::panel {
namespace {

using nlohmann::json;

// The page draws the last half minute; a little more keeps its left edge drawn.
constexpr double kTimelineWindow = 40.0;

const char* stateName(SoundState state) {
  switch (state) {
    case SoundState::kIdle: return "idle";
    case SoundState::kOnce: return "playing once";
    case SoundState::kLooping: return "looping";
    case SoundState::kMissing: return "missing";
  }
  return "idle";
}

const char* switchName(SwitchState state) {
  switch (state) {
    case SwitchState::kOn: return "on";
    case SwitchState::kOff: return "off";
    case SwitchState::kAbsent: return "absent";
  }
  return "absent";
}

// What the sound does now: its open span of the timeline; when idle, what
// check found in its file.
std::string currentState(const SoundLane& lane, double now, const SoundFacts& facts) {
  if (!lane.spans.empty() && lane.spans.back().end >= now) return stateName(lane.spans.back().state);
  if (facts.missing) return "missing";
  if (!facts.playable) return "cannot play";
  return "idle";
}

json laneJson(const SoundLane& lane, double from) {
  json spans = json::array();
  for (const SoundSpan& span : lane.spans) {
    if (span.end < from) continue;
    spans.push_back({{"start", span.start}, {"end", span.end}, {"state", stateName(span.state)},
                     {"pan", span.pan},
                     {"volume", span.volumePercent ? json(*span.volumePercent) : json()}});
  }
  json values = json::array();
  for (const ValueMark& mark : lane.values) {
    if (mark.time >= from) {
      values.push_back({{"time", mark.time}, {"value", mark.value}, {"byModule", mark.byModule}});
    }
  }
  return {{"spans", spans}, {"values", values}};
}

json timelineJson(const Timeline& timeline, double from) {
  json lanes = json::array();
  for (const SoundLane& lane : timeline.sounds) lanes.push_back(laneJson(lane, from));
  json simulator = json::array();
  for (const SwitchSpan& span : timeline.simulatorSound) {
    if (span.end >= from) {
      simulator.push_back({{"start", span.start}, {"end", span.end}, {"state", switchName(span.state)}});
    }
  }
  json stopAll = json::array();
  for (double time : timeline.stopAll) {
    if (time >= from) stopAll.push_back(time);
  }
  return {{"duration", timeline.duration}, {"from", from}, {"lanes", lanes},
          {"simulatorSound", simulator}, {"stopAll", stopAll}};
}

}  // namespace

std::string ConsoleSession::stateJson(const RunRecord& record,
                                      const host::NamedVariables& variables) const {
  const Timeline timeline = buildTimeline(table_, record, globalDllAtStart_);
  json sounds = json::array();
  for (std::size_t i = 0; i < panel_.sounds.size(); ++i) {
    const SoundFacts& facts = panel_.sounds[i];
    const SoundLane& lane = timeline.sounds[i];
    sounds.push_back({{"variable", facts.variable},
                      {"file", facts.file},
                      {"reading", facts.reading},
                      {"problems", facts.problems},
                      {"value", variables.valueOf(facts.variable)},
                      {"state", currentState(lane, timeline.duration, facts)}});
  }
  const double from = std::max(0.0, timeline.duration - kTimelineWindow);
  json state = {
      {"frame", record.frames - 1},
      {"time", (record.frames - 1) / record.framesPerSecond},
      {"fps", record.framesPerSecond},
      {"ini", panel_.iniPath},
      {"problems", panel_.problems},
      {"sounds", sounds},
      {"stopAll", {{"variable", panel_.stopAllVariable},
                   {"value", variables.valueOf(panel_.stopAllVariable)}}},
      {"status", {{kVolumePlayedVariable, variables.valueOf(kVolumePlayedVariable)},
                  {kMasterVolumeVariable, variables.valueOf(kMasterVolumeVariable)},
                  {kSoundIndicatorVariable, variables.valueOf(kSoundIndicatorVariable)}}},
      {"simulator", {{"globalDll", appliedSimulator_.globalDll},
                     {"soundOn", appliedSimulator_.soundOn}}},
      {"steps", record.events.size()},
      {"timeline", timelineJson(timeline, from)},
  };
  return state.dump();
}

}  // namespace vorlanex::panel
