#include "simulated_aircraft.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>

#include "derived_variables.h"
#include "event_table.h"
#include "text_case.h"

namespace vorlanex::gauges {
namespace {

struct Slot {
  char kind;
  std::string key;    // simulatorKey of the name
  int index;
  std::string shown;  // the name as the table writes it, or as first named
  std::string unit;   // the unit it is held in, by name
  const Unit* held;   // nullptr for a unit we do not know
  const Unit* documented;
  const TableVariable* row;  // nullptr for a variable the table lacks
  ClockRole clock;
  double value;
};

std::string slotKey(char kind, const std::string& key, int index) {
  return std::string(1, kind) + key + ':' + std::to_string(index);
}

// The held value that reads `value` through `conversion`; a bool holds 0 or 1.
double heldValue(const Slot& slot, double value) {
  return slot.held != nullptr && slot.held->boolean() ? (value != 0.0 ? 1.0 : 0.0) : value;
}

// The decimal digit at `place` (1, 10, 100...) of `number`, stepped by one
// within `base`, the others kept.
double steppedDigit(double number, double place, int base, double step) {
  const double digit = std::fmod(std::floor(number / place + 1e-6), 10.0);
  const double next = std::fmod(digit + step + base, static_cast<double>(base));
  return number + (next - digit) * place;
}

// A squawk's digits (1207) stepped as the octal number they write (1210).
double octalStepped(double digits, double step) {
  long long octal = 0, scale = 1;
  for (auto rest = static_cast<long long>(std::llround(digits)); rest != 0; rest /= 10, scale *= 8) {
    octal += (rest % 10) * scale;
  }
  octal = ((octal + static_cast<long long>(step)) % 4096 + 4096) % 4096;
  double written = 0.0;
  for (double place = 1.0; octal != 0; octal /= 8, place *= 10.0) written += static_cast<double>(octal % 8) * place;
  return written;
}

}  // namespace

struct SimulatedAircraft::State {
  std::vector<Slot> slots;
  std::unordered_map<std::string, int> byKey;
  double startTime = clockStartTime();
  double elapsed = 0.0;  // kept apart: added to the large start, small steps would round away
  double absoluteTime() const { return startTime + elapsed; }
  std::vector<SentEvent> events;
  std::size_t recordedNow = 0;  // events recorded at the clock's present time
  std::size_t notRecorded = 0;
  std::vector<WindowRequest> windowRequests;
  std::set<std::string> mentioned;

  int bind(char kind, const std::string& name, int index, const std::string& unit) {
    if (kind == 'P') kind = 'E';
    if (kind != 'E') kind = 'A';
    std::string key = simulatorKey(name);
    const VariableLookup found = lookUpVariable(kind, key);
    if (found.variable != nullptr) return bindRow(*found.variable, found.index >= 0 ? found.index : index);
    const auto [at, added] = byKey.emplace(slotKey(kind, key, index), static_cast<int>(slots.size()));
    if (!added) return at->second;
    const std::string heldIn = unit.empty() ? "number" : unit;
    const Unit* held = findUnit(heldIn);
    slots.push_back({kind, std::move(key), index, name, heldIn, held, held, nullptr, ClockRole::kNone, 0.0});
    return at->second;
  }

  int bindRow(const TableVariable& row, int index) {
    const auto [at, added] = byKey.emplace(slotKey(row.kind, row.name, index), static_cast<int>(slots.size()));
    if (!added) return at->second;
    const double value = row.clock != ClockRole::kNone ? clockValue(row.clock, absoluteTime()) : row.restAt(index);
    slots.push_back({row.kind, row.name, index, row.name, row.heldName(), row.held, row.documented, &row, row.clock,
                     value});
    return at->second;
  }

  Slot& slot(int at) { return slots[static_cast<std::size_t>(at)]; }

  // How a slot reads in `unit` (its documented unit when nullptr).
  Conversion conversionTo(const Slot& held, const Unit* unit) const {
    if (unit == nullptr) unit = held.documented;
    if (unit == nullptr || held.held == nullptr) return {};
    return readIn(held, *unit).conversion;
  }

  static UnitRead readIn(const Slot& held, const Unit& asked) {
    if (held.held == nullptr) return {};
    // "frequency bcd16" on an ADF variable is its own BCD16 of kHz.
    const bool adfBcd16 = asked.encoding == Encoding::kBcd16 && held.documented != nullptr &&
                          held.documented->encoding == Encoding::kAdfBcd16;
    const Unit& wanted = adfBcd16 ? *held.documented : asked;
    if ((wanted.plain() || wanted.boolean()) && held.documented != nullptr && held.documented != held.held) {
      Conversion documented = conversionBetween(*held.held, *held.documented).conversion;
      documented.boolean = wanted.boolean();
      return {documented, false};
    }
    return conversionBetween(*held.held, wanted);
  }

  double readAs(int at, const Unit* unit) { return conversionTo(slot(at), unit).apply(slot(at).value); }
  void writeAs(int at, const Unit* unit, double value) {
    Slot& held = slot(at);
    held.value = heldValue(held, conversionTo(held, unit).invert(value));
  }

  // A variable of the table by name, index 0 (1 for an indexed one), in its documented unit.
  double readNamed(std::string_view name) {
    const VariableLookup found = lookUpVariable('A', name);
    if (found.variable == nullptr) return 0.0;
    return readAs(bindRow(*found.variable, found.variable->indexed ? 1 : 0), nullptr);
  }

  std::vector<int> indexesOf(const EffectTarget& target, double eventValue) {
    switch (target.from) {
      case EffectTarget::Index::kFixed: return {target.index};
      case EffectTarget::Index::kEventValue: return {static_cast<int>(eventValue)};
      case EffectTarget::Index::kSelectedEngines: break;
    }
    const int engines = static_cast<int>(readNamed("NUMBER OF ENGINES"));
    if (engines <= 1) return {1};
    const auto selected = static_cast<long long>(readNamed("ENGINE CONTROL SELECT"));
    std::vector<int> indexes;
    for (int engine = 1; engine <= std::min(engines, 4); ++engine) {
      if ((selected & (1LL << (engine - 1))) != 0) indexes.push_back(engine);
    }
    if (indexes.empty()) {
      for (int engine = 1; engine <= std::min(engines, 4); ++engine) indexes.push_back(engine);
    }
    return indexes;
  }

  double valueOf(const EffectValue& value, double eventValue, int index) {
    switch (value.from) {
      case EffectValue::From::kConstant: return value.constant;
      case EffectValue::From::kEventValue: return (eventValue + value.add) * value.scale;
      case EffectValue::From::kVariable: {
        const TableVariable& variable = *value.variable.variable;
        return readAs(bindRow(variable, variable.indexed ? index : 0), nullptr) * value.scale;
      }
    }
    return 0.0;
  }

  double bounded(const EventEffect& effect, double value, double eventValue) {
    if (!effect.bound.given) return value;
    const double low = valueOf(effect.bound.low, eventValue, 0);
    const double high = valueOf(effect.bound.high, eventValue, 0);
    if (!effect.bound.wrap) return std::fmin(std::fmax(value, low), high);
    const double period = high - low + (effect.bound.highExcluded ? 0.0 : std::fabs(effect.step));
    if (!(period > 0.0)) return value;
    return low + std::fmod(std::fmod(value - low, period) + period, period);
  }

  // 0 OFF, 1 RIGHT, 2 LEFT, 3 BOTH, 4 START, from the engine's magnetos and starter.
  int magnetoPosition(int engine) {
    const bool left = slot(bindNamed("RECIP ENG LEFT MAGNETO", engine)).value != 0.0;
    const bool right = slot(bindNamed("RECIP ENG RIGHT MAGNETO", engine)).value != 0.0;
    if (slot(bindNamed("GENERAL ENG STARTER", engine)).value != 0.0) return 4;
    return left && right ? 3 : left ? 2 : right ? 1 : 0;
  }
  void setMagneto(int engine, int position) {
    position = std::min(std::max(position, 0), 4);
    changed(bindNamed("RECIP ENG LEFT MAGNETO", engine), position >= 2);
    changed(bindNamed("RECIP ENG RIGHT MAGNETO", engine), position == 1 || position >= 3);
    changed(bindNamed("GENERAL ENG STARTER", engine), position == 4);
  }
  int bindNamed(std::string_view name, int index) { return bind('A', std::string(name), index, {}); }
  void changed(int at, double value) {
    slot(at).value = heldValue(slot(at), value);
    followChange(at);
  }

  // The variables derived from the one at `at`.
  void followChange(int at) {
    const std::string cause = slot(at).key;
    for (const DerivedVariable* derived : derivedFrom(cause)) {
      const double value = derived->rule([this](std::string_view name) { return readNamed(name); });
      const VariableLookup found = lookUpVariable('A', derived->variable);
      if (found.variable != nullptr) writeAs(bindRow(*found.variable, derived->index), nullptr, value);
    }
  }

  void apply(const EventEffect& effect, double eventValue) {
    if (effect.unlessVariable != nullptr &&
        readAs(bindRow(*effect.unlessVariable, 0), nullptr) == effect.blockedAt) {
      return;
    }
    if (effect.action == EffectAction::kWindow) {
      WindowRequest request;
      request.action = effect.window == EventEffect::Window::kOpen    ? WindowRequest::Action::kOpen
                       : effect.window == EventEffect::Window::kClose ? WindowRequest::Action::kClose
                                                                      : WindowRequest::Action::kToggle;
      request.byOrder = effect.windowOrder != 0;
      request.number = request.byOrder ? effect.windowOrder : static_cast<int>(eventValue);
      windowRequests.push_back(request);
      return;
    }
    for (const int index : indexesOf(effect.target, eventValue)) applyAt(effect, index, eventValue);
  }

  void applyAt(const EventEffect& effect, int index, double eventValue) {
    const int at = bindRow(*effect.target.variable, index);
    // Binding adds slots: a slot is looked up again after any bind.
    switch (effect.action) {
      case EffectAction::kToggle: {
        const Unit* fraction = findUnit("percent over 100");
        Slot& target = slot(at);
        const double full = target.held != nullptr && target.held->group == "fraction" && fraction != nullptr
                                ? conversionBetween(*target.held, *fraction).conversion.invert(1.0)
                                : 1.0;
        target.value = target.value != 0.0 ? 0.0 : full;
        break;
      }
      case EffectAction::kSet: {
        double value = valueOf(effect.value, eventValue, index);
        if (effect.value.nearestDetent) value = std::round(value / 100.0 * readNamed("FLAPS NUM HANDLE POSITIONS"));
        writeAs(at, effect.unit, bounded(effect, value, eventValue));
        break;
      }
      case EffectAction::kStep: {
        double value = readAs(at, effect.unit);
        if (effect.octalCarry) {
          const Encoding encoding = effect.target.variable->held->encoding;
          writeAs(at, effect.unit, encodedValue(encoding, octalStepped(decodedValue(encoding, value), effect.step)));
          break;
        }
        if (effect.wrapWithin > 0.0) {
          const double within = effect.wrapWithin;
          const double kept = std::floor(value / within + 1e-9) * within;
          value = kept + std::fmod(std::fmod(value - kept + effect.step, within) + within, within);
        } else {
          value = bounded(effect, value + effect.step, eventValue);
        }
        writeAs(at, effect.unit, value);
        break;
      }
      case EffectAction::kDigitStep: {
        Slot& target = slot(at);
        const Encoding encoding = target.held != nullptr ? target.held->encoding : Encoding::kLinear;
        const double digits = decodedValue(encoding, target.value);
        target.value = encodedValue(encoding, steppedDigit(digits, effect.place, effect.base, effect.step));
        break;
      }
      case EffectAction::kSwap: {
        const int other = bindRow(*effect.other.variable, effect.other.from == EffectTarget::Index::kFixed
                                                                ? effect.other.index
                                                                : index);
        std::swap(slot(at).value, slot(other).value);
        followChange(other);
        break;
      }
      case EffectAction::kMagneto:
        setMagneto(index, effect.position >= 0 ? effect.position : static_cast<int>(eventValue));
        return;
      case EffectAction::kMagnetoStep:
        setMagneto(index, magnetoPosition(index) + static_cast<int>(effect.step));
        return;
      case EffectAction::kFollow: {
        const TableVariable& source = *effect.other.variable;
        for (const DerivedVariable* derived : derivedFrom(source.name)) {
          if (derived->variable == effect.target.variable->name) return;  // derived by its own rule
        }
        const int from = bindRow(source, source.indexed ? index : 0);
        const Slot& cause = slot(from);
        Slot& follower = slot(at);
        if (cause.held != nullptr && follower.held != nullptr && cause.held->group == follower.held->group) {
          follower.value = conversionBetween(*cause.held, *follower.held).conversion.apply(cause.value);
        } else {
          writeAs(at, nullptr, readAs(from, nullptr));
        }
        break;
      }
      case EffectAction::kWindow: return;
    }
    slot(at).value = heldValue(slot(at), slot(at).value);
    followChange(at);
  }
};

SimulatedAircraft::SimulatedAircraft() : state_(std::make_unique<State>()) {}
SimulatedAircraft::~SimulatedAircraft() = default;

int SimulatedAircraft::bind(char kind, const std::string& name, int index, const std::string& unit) {
  return state_->bind(kind, name, index, unit);
}

double SimulatedAircraft::get(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < state_->slots.size() ? state_->slot(slot).value : 0.0;
}

void SimulatedAircraft::set(int slot, double value) {
  if (slot >= 0 && static_cast<size_t>(slot) < state_->slots.size()) state_->slot(slot).value = value;
}

const std::string& SimulatedAircraft::unitOf(int slot) const {
  static const std::string none;
  return slot >= 0 && static_cast<size_t>(slot) < state_->slots.size() ? state_->slot(slot).unit : none;
}

const TableVariable* SimulatedAircraft::tableVariableOf(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < state_->slots.size() ? state_->slot(slot).row : nullptr;
}

UnitRead SimulatedAircraft::unitRead(int slot, const Unit& wanted) const {
  if (slot < 0 || static_cast<size_t>(slot) >= state_->slots.size()) return {};
  return State::readIn(state_->slot(slot), wanted);
}

std::string SimulatedAircraft::nameOf(int slot) const {
  if (slot < 0 || static_cast<size_t>(slot) >= state_->slots.size()) return {};
  return variableText(variableOf(slot));
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
  const Unit* wanted = findUnit(variable.unit);
  return wanted == nullptr ? get(slot) : unitRead(slot, *wanted).conversion.apply(get(slot));
}

void SimulatedAircraft::write(const VariableName& variable, double value) {
  const int slot = bind(variable.kind, variable.name, variable.index, variable.unit);
  const Unit* wanted = findUnit(variable.unit);
  set(slot, heldValue(state_->slot(slot), wanted == nullptr ? value : unitRead(slot, *wanted).conversion.invert(value)));
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
  if (const TableEvent* known = findEvent(name)) {
    for (const EventEffect& effect : known->effects) state_->apply(effect, value);
  }
  if (state_->recordedNow == kMaxEventsAtOnce) {
    ++state_->notRecorded;
    return;
  }
  ++state_->recordedNow;
  state_->events.push_back({time(), std::move(name), value, sender});
}

const std::vector<SentEvent>& SimulatedAircraft::events() const { return state_->events; }

void SimulatedAircraft::forgetEvents(std::size_t count) {
  std::vector<SentEvent>& events = state_->events;
  events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(std::min(count, events.size())));
}

std::size_t SimulatedAircraft::eventsNotRecorded() const { return state_->notRecorded; }

bool SimulatedAircraft::knownEvent(const std::string& event) { return findEvent(event) != nullptr; }

bool SimulatedAircraft::simulatedEvent(const std::string& event) {
  const TableEvent* known = findEvent(event);
  return known != nullptr && known->simulated();
}

std::vector<WindowRequest> SimulatedAircraft::takeWindowRequests() {
  std::vector<WindowRequest> requests;
  requests.swap(state_->windowRequests);
  return requests;
}

bool SimulatedAircraft::firstMention(const std::string& subject) { return state_->mentioned.insert(subject).second; }

}  // namespace vorlanex::gauges
