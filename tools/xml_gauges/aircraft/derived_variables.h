// Variables the aircraft derives from others when an event changes them:
// the circuits follow the switches, the flaps' percent the handle's index,
// the gear's positions its handle (the table's "X follows" aside).
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace vorlanex::gauges {

// A variable of index 0 (or 1, for an indexed one), in its documented unit.
using ReadVariable = std::function<double(std::string_view name)>;

struct DerivedVariable {
  std::string_view cause;     // the variable an event changed
  std::string_view variable;  // the one that follows, at `index`
  int index;
  double (*rule)(const ReadVariable& read);  // its new value, in its documented unit
};

// The variables that follow `cause`.
std::vector<const DerivedVariable*> derivedFrom(std::string_view cause);

}  // namespace vorlanex::gauges
