#include "simulated_aircraft.h"

#include <cmath>
#include <unordered_map>

#include "aircraft_variables.h"
#include "event_table.h"
#include "text_case.h"
#include "units.h"

namespace vorlanex::gauges {
namespace {

struct Slot {
  char kind;
  std::string key;   // simulatorKey of the name
  int index;
  std::string shown; // the name as the table writes it, or as first named
  std::string unit;
  ClockRole clock;
  double value;
};

std::string slotKey(char kind, const std::string& key, int index) {
  return std::string(1, kind) + key + ':' + std::to_string(index);
}

// A variable named with a unit the table knows reads through it; any other
// unit takes the held number as it stands.
Conversion conversionFor(const std::string& held, const std::string& wanted) {
  const Unit* from = findUnit(held);
  const Unit* to = findUnit(wanted);
  if (from == nullptr || to == nullptr) return {};
  return conversionBetween(*from, *to).value_or(Conversion{});
}

}  // namespace

struct SimulatedAircraft::State {
  std::vector<Slot> slots;
  std::unordered_map<std::string, int> byKey;
  double startTime = clockStartTime();
  double elapsed = 0.0;  // kept apart: added to the large start, small steps would round away
  double absoluteTime() const { return startTime + elapsed; }
  std::vector<SentEvent> events;
  std::size_t recordedNow = 0;   // events recorded at the clock's present time
  std::size_t notRecorded = 0;

  int bind(char kind, const std::string& name, int index, const std::string& unit) {
    if (kind == 'P') kind = 'E';
    if (kind != 'E') kind = 'A';
    std::string key = simulatorKey(name);
    if (const std::optional<IndexedName> indexed = indexedNameOf(key); indexed && index == 0) {
      return bind(kind, std::string(indexed->name), indexed->index, unit);
    }
    const auto [at, added] = byKey.emplace(slotKey(kind, key, index), static_cast<int>(slots.size()));
    if (!added) return at->second;
    const KnownVariable* known = findKnownVariable(kind, key);
    if (known != nullptr) {
      const double value = known->clock != ClockRole::kNone ? clockValue(known->clock, absoluteTime()) : known->resting;
      slots.push_back({kind, std::move(key), index, std::string(known->name), std::string(known->unit),
                       known->clock, value});
    } else {
      slots.push_back({kind, std::move(key), index, name, unit.empty() ? "number" : unit, ClockRole::kNone, 0.0});
    }
    return at->second;
  }

  double& at(int slot) { return slots[static_cast<size_t>(slot)].value; }

  static double readPlain(const void* self, std::string_view name) {
    auto* state = const_cast<State*>(static_cast<const State*>(self));
    return state->at(state->bind('A', std::string(name), 0, {}));
  }

  void apply(const EventEffect& effect, double eventValue) {
    double& value = at(bind('A', std::string(effect.variable), effect.index, {}));
    const double limit = effect.limit.empty() ? 0.0 : at(bind('A', std::string(effect.limit), 0, {}));
    switch (effect.action) {
      case EventAction::kToggle: value = value == 0.0 ? effect.amount : 0.0; break;
      case EventAction::kSet: value = effect.amount; break;
      case EventAction::kSetByValue: value = eventValue != 0.0 ? 1.0 : 0.0; break;
      case EventAction::kStepUp: value = std::fmin(value + 1.0, limit); break;
      case EventAction::kStepDown: value = std::fmax(value - 1.0, 0.0); break;
      case EventAction::kSetToLimit: value = limit; break;
      case EventAction::kAdd: value += effect.amount; break;
    }
    for (const Consequence* consequence : consequencesOf(effect.variable)) {
      at(bind('A', std::string(consequence->variable), 0, {})) = consequence->rule(readPlain, this);
    }
  }
};

SimulatedAircraft::SimulatedAircraft() : state_(std::make_unique<State>()) {}
SimulatedAircraft::~SimulatedAircraft() = default;

int SimulatedAircraft::bind(char kind, const std::string& name, int index, const std::string& unit) {
  return state_->bind(kind, name, index, unit);
}

double SimulatedAircraft::get(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < state_->slots.size() ? state_->at(slot) : 0.0;
}

void SimulatedAircraft::set(int slot, double value) {
  if (slot >= 0 && static_cast<size_t>(slot) < state_->slots.size()) state_->at(slot) = value;
}

const std::string& SimulatedAircraft::unitOf(int slot) const {
  static const std::string none;
  return slot >= 0 && static_cast<size_t>(slot) < state_->slots.size() ? state_->slots[static_cast<size_t>(slot)].unit
                                                                        : none;
}

std::string SimulatedAircraft::nameOf(int slot) const {
  if (slot < 0 || static_cast<size_t>(slot) >= state_->slots.size()) return {};
  const Slot& held = state_->slots[static_cast<size_t>(slot)];
  return variableText({held.kind, held.shown, held.index, held.unit, false});
}

int SimulatedAircraft::slotCount() const { return static_cast<int>(state_->slots.size()); }

VariableName SimulatedAircraft::variableOf(int slot) const {
  const Slot& held = state_->slots.at(static_cast<size_t>(slot));
  return {held.kind, held.shown, held.index, held.unit, false};
}

bool SimulatedAircraft::clockDriven(int slot) const {
  return state_->slots.at(static_cast<size_t>(slot)).clock != ClockRole::kNone;
}

double SimulatedAircraft::read(const VariableName& variable) {
  const int slot = bind(variable.kind, variable.name, variable.index, variable.unit);
  return conversionFor(unitOf(slot), variable.unit).apply(get(slot));
}

void SimulatedAircraft::write(const VariableName& variable, double value) {
  const int slot = bind(variable.kind, variable.name, variable.index, variable.unit);
  set(slot, conversionFor(unitOf(slot), variable.unit).invert(value));
}

void SimulatedAircraft::advance(double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
  state_->elapsed += seconds;
  state_->recordedNow = 0;
  const double now = state_->absoluteTime();
  for (Slot& slot : state_->slots) {
    if (slot.clock != ClockRole::kNone) slot.value = clockValue(slot.clock, now);
  }
}

double SimulatedAircraft::time() const { return state_->elapsed; }

void SimulatedAircraft::send(const std::string& event, double value, const ScriptSite& sender) {
  std::string name = upperCase(event);
  for (const EventEffect* effect : effectsOf(name)) state_->apply(*effect, value);
  if (state_->recordedNow == kMaxEventsAtOnce) {
    ++state_->notRecorded;
    return;
  }
  ++state_->recordedNow;
  state_->events.push_back({time(), std::move(name), value, sender});
}

const std::vector<SentEvent>& SimulatedAircraft::events() const { return state_->events; }

std::size_t SimulatedAircraft::eventsNotRecorded() const { return state_->notRecorded; }

bool SimulatedAircraft::knownEvent(const std::string& event) { return !effectsOf(upperCase(event)).empty(); }

}  // namespace vorlanex::gauges
