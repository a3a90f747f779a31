// What an event does to the aircraft, read from the effect column of the
// events table (aircraft/tables/sim-events.tsv), whose notation is:
//   toggle V                      V = 1 - V (a percent: 0 <-> 100 %)
//   set V = value/16384*100       the event's value, scaled, in V's unit
//   inc V by 1 MHz [118..136] wrap; dec ... clamp
//   swap A <-> B;  V:* (the selected engines);  magneto-switch:n = BOTH
//   window open ident=value;  X follows (derived from what was set)
// Clauses stand apart by ';'. A clause in any other words is left unread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "variable_table.h"

namespace vorlanex::gauges {

// Which index of a variable an effect changes.
struct EffectTarget {
  enum class Index { kFixed, kSelectedEngines, kEventValue } from = Index::kFixed;
  const TableVariable* variable = nullptr;
  int index = 0;  // kFixed
};

// A number an effect computes: (value + add) * scale, a constant, or
// another variable's value.
struct EffectValue {
  enum class From { kConstant, kEventValue, kVariable } from = From::kConstant;
  double constant = 0.0;
  double add = 0.0;
  double scale = 1.0;
  EffectTarget variable;  // kVariable
  bool nearestDetent = false;  // a flaps percent made a handle index
};

struct EffectBound {
  bool given = false;
  EffectValue low, high;  // kConstant or kVariable
  bool highExcluded = false;  // [0..360)
  bool wrap = false;          // else clamp
};

enum class EffectAction {
  kToggle,       // target
  kSet,          // target = value (in `unit`)
  kStep,         // target +/- step (in `unit`), bounded
  kDigitStep,    // the digit at `place` of target (in `unit`) +/- 1, wrapping in `base`
  kSwap,         // target <-> other
  kMagneto,      // magneto-switch:target = position (value: -1 for the event's value)
  kMagnetoStep,  // magneto-switch:target +/- one position
  kFollow,       // target follows `other`, the variable the effect before changed
  kWindow,       // a panel window opened, closed or toggled
};

struct EventEffect {
  EffectAction action = EffectAction::kSet;
  EffectTarget target, other;
  EffectValue value;
  const Unit* unit = nullptr;  // of the value, step and bound; nullptr: the target's documented unit
  double step = 0.0;           // kStep, kDigitStep (the sign: +1 or -1 there)
  EffectBound bound;
  // kStep: the part below this many of `unit` wraps, the rest kept (no
  // carry): 1000 for kHz within the MHz, 1 for an ADF's tenths. 0: none.
  double wrapWithin = 0.0;
  bool octalCarry = false;       // kStep on a squawk
  double place = 1.0;            // kDigitStep
  int base = 10;                 // kDigitStep
  int position = 0;              // kMagneto: 0 OFF, 1 RIGHT, 2 LEFT, 3 BOTH, 4 START
  // kWindow.
  enum class Window { kOpen, kClose, kToggle } window = Window::kToggle;
  int windowOrder = 0;  // 1-9: by panel.cfg's window order; 0: by ident = the event's value
  // Applies only while this variable reads other than `blockedAt`.
  const TableVariable* unlessVariable = nullptr;
  double blockedAt = 0.0;
};

struct ParsedEffects {
  std::vector<EventEffect> effects;
  std::vector<std::string> unread;  // clauses in words no rule reads
  bool changesNothing = false;      // a view, the user interface, a selection
};

ParsedEffects parseEffects(std::string_view text);

}  // namespace vorlanex::gauges
