// What the page is shown, as JSON: every value comes from the panel's
// variables or from what the module wrote, never from the page's own clicks.
// The panel's facts are sent once, the timeline's ended items as they end,
// and each frame's own view in parts, each sent when it changes.
#include <nlohmann/json.hpp>

#include "console_session.h"
#include "panel/status_variables.h"

namespace vorlanex::tool {
namespace {

using nlohmann::json;

// What the sound does now: its open span; when idle, what check found in
// its file.
std::string currentState(const std::optional<SoundSpan>& open, const SoundFacts& facts) {
  if (open) return activityName(open->activity);
  if (facts.missing) return "missing";
  if (!facts.playable) return "cannot play";
  return "idle";
}

json spanJson(const SoundSpan& span) {
  return {{"start", span.start}, {"end", span.end}, {"state", activityName(span.activity)},
          {"pan", span.pan}, {"volume", span.volumePercent ? json(*span.volumePercent) : json()}};
}

json switchJson(const SwitchSpan& span) {
  return {{"start", span.start}, {"end", span.end}, {"state", settingName(span.setting)}};
}

}  // namespace

std::string ConsoleSession::factsJson() const {
  json sounds = json::array();
  for (const SoundFacts& facts : panel_.sounds) {
    sounds.push_back({{"variable", facts.variable},
                      {"file", facts.file},
                      {"volume", facts.volumePercent},
                      {"reading", facts.reading},
                      {"problems", facts.problems}});
  }
  return json{{"ini", panel_.iniPath},
              {"problems", panel_.problems},
              {"sounds", sounds},
              {"stopAllVariable", panel_.stopAllVariable},
              {"unheard", unheard_},
              {"gauges", gauges_ ? json::parse(gauges_->factsJson()) : json()}}
      // Panel files are often in a Windows code page, not UTF-8: their
      // names and titles must not end the session.
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

ConsoleSession::Parts ConsoleSession::frameParts(const RunRecord& record,
                                                const host::NamedVariables& variables) const {
  const double now = record.frames / record.framesPerSecond;
  json sounds = json::array();
  json open = json::array();
  for (std::size_t i = 0; i < panel_.sounds.size(); ++i) {
    const SoundFacts& facts = panel_.sounds[i];
    const std::optional<SoundSpan> span = timeline_->openSpan(i, now);
    sounds.push_back({{"value", variables.valueOf(facts.variable)},
                      {"state", currentState(span, facts)}});
    open.push_back(span ? spanJson(*span) : json());
  }
  json state = {
      {"frame", record.frames - 1},
      {"time", (record.frames - 1) / record.framesPerSecond},
      {"sounds", sounds},
      {"stopAll", variables.valueOf(panel_.stopAllVariable)},
      {"status", {{kVolumePlayedVariable, variables.valueOf(kVolumePlayedVariable)},
                  {kMasterVolumeVariable, variables.valueOf(kMasterVolumeVariable)},
                  {kSoundIndicatorVariable, variables.valueOf(kSoundIndicatorVariable)}}},
      {"simulator", {{"globalDll", appliedSimulator_.globalDll},
                     {"soundOn", appliedSimulator_.soundOn}}},
      {"steps", record.events.size()},
      // The spans not ended yet; the ended ones come as events.
      {"timeline", {{"duration", now},
                    {"from", std::max(0.0, now - kTimelineWindow)},
                    {"lanes", open},
                    {"simulatorSound", switchJson(timeline_->openSwitchSpan(now))}}},
  };
  Parts parts;
  for (const auto& [name, part] : state.items()) parts.emplace_back(name, part.dump());
  parts.emplace_back("reloads", reloadsJson_);
  if (gauges_) gauges_->addFrameParts(variables, parts);
  return parts;
}

std::vector<ConsoleSession::TimelineEvent> ConsoleSession::endedEvents(long long frame) {
  const Timeline ended = timeline_->takeEnded();
  std::vector<TimelineEvent> events;
  auto add = [&](double time, const json& event) { events.push_back({frame, time, event.dump()}); };
  for (std::size_t lane = 0; lane < ended.sounds.size(); ++lane) {
    for (const SoundSpan& span : ended.sounds[lane].spans) {
      add(span.end, {{"lane", lane}, {"span", spanJson(span)}});
    }
    for (const ValueMark& mark : ended.sounds[lane].values) {
      add(mark.time, {{"lane", lane},
                      {"value", {{"time", mark.time}, {"value", mark.value},
                                 {"byModule", mark.byModule}}}});
    }
  }
  for (const SwitchSpan& span : ended.simulatorSound) {
    add(span.end, {{"simulatorSound", switchJson(span)}});
  }
  for (double time : ended.stopAll) add(time, {{"stopAll", time}});
  return events;
}

}  // namespace vorlanex::tool
