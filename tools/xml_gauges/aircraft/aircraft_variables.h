// The simulator variables the simulated aircraft knows, with the unit each is
// held in and its value at rest: on the ground, engine off, battery off,
// doors closed, parking brake set.
#pragma once

#include <optional>
#include <string_view>

#include "simulator_clock.h"

namespace vorlanex::gauges {

struct KnownVariable {
  constexpr KnownVariable(char kind, std::string_view name, std::string_view unit, double resting = 0.0,
                          ClockRole clock = ClockRole::kNone)
      : kind(kind), name(name), unit(unit), resting(resting), clock(clock) {}
  char kind;              // 'A' or 'E' (P: is E:)
  std::string_view name;  // as simulatorKey gives it, no index
  std::string_view unit;  // as the units table names it
  double resting;         // the same for every index
  ClockRole clock;
};

// By kind and simulatorKey; nothing for a variable the table does not hold.
const KnownVariable* findKnownVariable(char kind, std::string_view key);

// An engine's variable by its old name, "ENG2 RPM", as its indexed one:
// {"GENERAL ENG RPM", 2}. Nothing for any other name.
struct IndexedName {
  std::string_view name;
  int index;
};
std::optional<IndexedName> indexedNameOf(std::string_view key);

}  // namespace vorlanex::gauges
