#include "reach_run.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

#include "commands/command_value.h"
#include "gauge_instance.h"
#include "linked_module.h"
#include "module_table.h"
#include "panel/status_variables.h"

namespace vorlanex::tool {
namespace {

enum class Activity : char { kIdle = 'i', kOnce = 'o', kLooping = 'l' };

std::int32_t codeOf(double value) { return decodeCommand(truncateToInt32(value)).code; }

bool playCode(double value) {
  const std::int32_t code = codeOf(value);
  return code == kCommandPlayOnce || code == kCommandLoop;
}

void appendNumber(std::string& key, double value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  key.append(bytes, sizeof value);
}

// 128 bits of the state's whole text: two 64-bit FNV-1a sums from different
// starts, the second over the bytes in reverse, the same on every build.
// The search keeps these, not the texts, which run to kilobytes.
std::string digest(const std::string& text) {
  std::uint64_t a = 14695981039346656037ull;
  std::uint64_t b = 0x9e3779b97f4a7c15ull;
  constexpr std::uint64_t kPrime = 1099511628211ull;
  for (std::size_t i = 0; i < text.size(); ++i) {
    a = (a ^ static_cast<unsigned char>(text[i])) * kPrime;
    b = (b ^ static_cast<unsigned char>(text[text.size() - 1 - i])) * kPrime;
  }
  std::string out(16, '\0');
  std::memcpy(&out[0], &a, 8);
  std::memcpy(&out[8], &b, 8);
  return out;
}

struct Sound {
  std::string variable;
  Activity activity = Activity::kIdle;
  bool playWritten = false;  // in this frame
  bool started = false;      // in this frame
  bool refused = false;      // in this frame: handed back as the error value
  gauges::ScriptSite lastWriter = {};
};

}  // namespace

struct ReachRun::Parts {
  explicit Parts(const ReachSetup& setup)
      : runner(module.exports(), {setup.framesPerSecond, setup.parameters, setup.globalDllPath,
                                  moduleVariables(setup.table)}),
        stopAll(setup.table.stopAll.varName),
        errorValue(setup.table.errorValue) {
    for (int i = 0; i < setup.table.soundCount; ++i) {
      sounds.push_back({setup.table.slots[i].varName});
      byVariable[sounds.back().variable].push_back(i);
    }
    runner.usePanel(setup.panel);
  }

  void forSounds(const std::string& name, const std::function<void(int, Sound&)>& act) {
    const auto found = byVariable.find(name);
    if (found == byVariable.end()) return;
    for (const int i : found->second) act(i, sounds[static_cast<std::size_t>(i)]);
  }

  void moduleWrote(const VariableWrite& write, int frame) {
    if (write.name == kVolumePlayedVariable) {
      forSounds(write.during, [&](int i, Sound& s) {
        s.activity = codeOf(runner.host().variables().valueOf(s.variable)) == kCommandLoop ? Activity::kLooping
                                                                                            : Activity::kOnce;
        s.started = true;
        events.push_back({SoundEvent::Kind::kStarted, i, frame, write.newValue, {}});
      });
      return;
    }
    forSounds(write.name, [&](int i, Sound& s) {
      // A play code handed back as the error value by a sound not playing:
      // refused (with ErrorFlag=0 an end of a one-shot reads the same).
      if (write.newValue == errorValue && playCode(write.oldValue) && s.activity == Activity::kIdle) {
        s.refused = true;
        events.push_back({SoundEvent::Kind::kRefused, i, frame, write.newValue, {}});
      }
      if (write.newValue == 0.0 && s.activity != Activity::kIdle) stopped(i, s, frame);
    });
  }

  void gaugeWrote(const std::string& name, double value, const gauges::ScriptSite& site, int frame) {
    if (name == stopAll && value > 0.0) events.push_back({SoundEvent::Kind::kStopAllWritten, -1, frame, value, site});
    forSounds(name, [&](int i, Sound& s) {
      s.lastWriter = site;
      if (playCode(value)) {
        s.playWritten = true;
        events.push_back({SoundEvent::Kind::kPlayWritten, i, frame, value, site});
        return;
      }
      events.push_back({SoundEvent::Kind::kOtherWritten, i, frame, value, site});
      // The module stops the sound when it reads the stop.
      if (codeOf(value) == kCommandStop && s.activity != Activity::kIdle) stopped(i, s, frame);
    });
  }

  void stopped(int i, Sound& s, int frame) {
    if (s.activity == Activity::kLooping) events.push_back({SoundEvent::Kind::kLoopStopped, i, frame, 0.0, {}});
    s.activity = Activity::kIdle;
  }

  // A play code written in the frame, gone before the module started it.
  void frameEnded(int frame) {
    for (SoundEvent& e : events) {
      if (e.kind != SoundEvent::Kind::kStarted || e.frame != frame) continue;
      e.held = runner.host().variables().valueOf(sounds[static_cast<std::size_t>(e.sound)].variable);
      e.volume = runner.host().variables().valueOf(kVolumePlayedVariable);
    }
    for (std::size_t i = 0; i < sounds.size(); ++i) {
      Sound& s = sounds[i];
      if (s.playWritten && !s.started && !s.refused && !playCode(runner.host().variables().valueOf(s.variable))) {
        events.push_back({SoundEvent::Kind::kOverwritten, static_cast<int>(i), frame,
                          runner.host().variables().valueOf(s.variable), s.lastWriter});
      }
      s.playWritten = false;
      s.started = false;
      s.refused = false;
    }
  }

  // The sounds' own time does not pass: the frames follow each other at
  // once, as in check's run at rest, with no device clock (on Windows,
  // DirectSound's real time hardly passes). A one-shot started plays on
  // until a gauge stops it, on both builds alike.
  host::LinkedModule module;
  ScriptRunner runner;
  std::string stopAll;
  double errorValue;
  std::vector<Sound> sounds;
  std::map<std::string, std::vector<int>> byVariable;
  std::vector<SoundEvent> events;
};

ReachRun::ReachRun(const ReachSetup& setup) : parts_(std::make_unique<Parts>(setup)) {
  Parts& parts = *parts_;
  parts.runner.setWriteListener([this](const VariableWrite& write) {
    if (write.writer.kind == Writer::Kind::kModule) parts_->moduleWrote(write, frame_);
  });
  parts.runner.setGaugeWriteListener([this](const std::string& name, double value, const gauges::ScriptSite& site) {
    parts_->gaugeWrote(name, value, site, frame_);
  });
}

ReachRun::~ReachRun() = default;

void ReachRun::playFrame(const std::vector<Step>& steps) {
  // The record refers to the steps: they live as long as the run.
  static const Script kNoSteps{"(reach)", {}};
  const Script* script = &kNoSteps;
  if (!steps.empty()) {
    scripts_.push_back(std::make_unique<Script>(Script{"(reach)", steps}));
    script = scripts_.back().get();
  }
  parts_->runner.playFrame(*script, frame_);
  parts_->frameEnded(frame_);
  ++frame_;
}

std::string ReachRun::key() {
  Parts& parts = *parts_;
  std::string key;
  host::NamedVariables& variables = parts.runner.host().variables();
  const std::vector<std::string>& names = variables.names();
  // Ids follow the order names were first met, which may differ between
  // ways: the values go in the order of their names, sorted again only when
  // a name comes into being.
  if (byName_.size() != names.size()) {
    byName_.resize(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) byName_[i] = i;
    std::sort(byName_.begin(), byName_.end(), [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    nameSet_.clear();
    for (const std::size_t i : byName_) nameSet_ += names[i] + '\n';
  }
  key += nameSet_;
  for (const std::size_t i : byName_) appendNumber(key, variables.get(static_cast<std::int32_t>(i)));
  gauges::GaugePanel& panel = *parts.runner.gaugePanel();
  for (std::size_t g = 0; g < panel.gauges().size(); ++g) {
    if (const gauges::GaugeInstance* instance = panel.instance(static_cast<int>(g))) {
      for (int n = 1; n <= 9; ++n) appendNumber(key, instance->gaugeVariables()[n]);
    }
  }
  gauges::SimulatedAircraft& aircraft = *parts.runner.aircraft();
  for (int slot = 0; slot < aircraft.slotCount(); ++slot) {
    if (!aircraft.clockDriven(slot)) appendNumber(key, aircraft.get(slot));
  }
  for (std::size_t w = 0; w < panel.windows().size(); ++w) key += panel.windowOpen(static_cast<int>(w)) ? 'O' : 'C';
  for (const Sound& s : parts.sounds) key += static_cast<char>(s.activity);
  return digest(key);
}

gauges::GaugePanel& ReachRun::panel() { return *parts_->runner.gaugePanel(); }
gauges::SimulatedAircraft& ReachRun::aircraft() { return *parts_->runner.aircraft(); }
double ReachRun::variable(const std::string& name) { return parts_->runner.host().variables().valueOf(name); }

bool ReachRun::playing(int sound) const {
  return parts_->sounds.at(static_cast<std::size_t>(sound)).activity != Activity::kIdle;
}

std::vector<SoundEvent> ReachRun::takeEvents() { return std::exchange(parts_->events, {}); }

}  // namespace vorlanex::tool
