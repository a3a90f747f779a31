// The simulator events gauges commonly send, and what each does to the
// aircraft's variables: one table of data, read by SimulatedAircraft::send.
#pragma once

#include <string_view>
#include <vector>

namespace vorlanex::gauges {

enum class EventAction {
  kToggle,      // 0 becomes `amount`, anything else 0
  kSet,         // becomes `amount`
  kSetByValue,  // becomes 1 when the event's value is not 0, else 0
  kStepUp,      // one more, up to the value of `limit`
  kStepDown,    // one less, down to 0
  kSetToLimit,  // becomes the value of `limit`
  kAdd,         // `amount` more
};

// One change an event makes to an A: variable. An event may have several.
struct EventEffect {
  constexpr EventEffect(std::string_view event, EventAction action, std::string_view variable, int index = 0,
                        double amount = 1.0, std::string_view limit = {})
      : event(event), action(action), variable(variable), index(index), amount(amount), limit(limit) {}
  std::string_view event;  // upper case
  EventAction action;
  std::string_view variable;
  int index;
  double amount;
  std::string_view limit;  // an A: variable of no index, for kStepUp and kSetToLimit
};

// A variable that follows another when an event changes it: the circuits
// follow the switches, the flaps' percent follows the handle's index.
struct Consequence {
  std::string_view cause;  // the variable an event changed
  std::string_view variable;
  // Its new value, from the aircraft's A: variables of index 0 (read).
  double (*rule)(double (*read)(const void* aircraft, std::string_view name), const void* aircraft);
};

// The effects of one event, by its upper-case name; empty for an unknown one.
std::vector<const EventEffect*> effectsOf(std::string_view event);
// The variables that follow `variable`.
std::vector<const Consequence*> consequencesOf(std::string_view variable);

}  // namespace vorlanex::gauges
