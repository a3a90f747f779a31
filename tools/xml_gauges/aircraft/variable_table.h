// The simulator variables the aircraft knows (aircraft/tables/sim-variables.tsv):
// each with the unit it is documented in, the unit the aircraft holds it in,
// its value at rest (cold and dark on the ground, see the table's notes), and
// FS2004's numbered names for its indexes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulator_clock.h"
#include "units.h"

namespace vorlanex::gauges {

struct TableVariable {
  char kind = 'A';         // 'A' or 'E' (P: rows are the E: ones)
  std::string name;        // as simulatorKey gives it, without ":N"
  bool indexed = false;    // the table writes it "NAME:N"
  std::string unitName;    // the documented unit, as the table writes it
  const Unit* documented = nullptr;  // nullptr for a unit the units table lacks
  // What the aircraft holds the value in: the documented unit, except that a
  // BCD frequency is held in MHz (an ADF one in kHz), so that every unit of
  // frequency, the BCD one included, reads it.
  const Unit* held = nullptr;
  double rest = 0.0;       // in `held`
  bool restGuessed = false;
  bool fs2004 = false;     // usable by FS2004 gauges
  ClockRole clock = ClockRole::kNone;

  // The held unit by name, as the table writes it where it is the documented one.
  const std::string& heldName() const { return held != nullptr && held != documented ? held->name : unitName; }
  // At rest: the table's value for index 0 and 1, and for every index of a
  // switch or of what the aircraft has several of (exits, wheels, tanks); 0
  // for the engines and radios it lacks.
  double restAt(int index) const;
};

struct VariableLookup {
  const TableVariable* variable = nullptr;  // nullptr: no variable of the table
  int index = -1;  // the index a numbered name stands for ("ENG2 RPM": 2); -1 for none
};

// By kind ('A', 'E' or 'P') and simulatorKey: the variable, or the one a
// numbered name stands for with its index.
VariableLookup lookUpVariable(char kind, std::string_view key);

// The table's variable or numbered name that `key` is probably a misspelling
// of (by the library's typo rule), as the table writes it; empty when none.
std::string nearestVariableName(char kind, const std::string& key);

// Every variable of the table, in its order; and every numbered name.
const std::vector<TableVariable>& tableVariables();
struct NumberedName {
  std::string name;  // "GENERAL ENG1 RPM"
  const TableVariable* variable;
  int index;
};
const std::vector<NumberedName>& numberedNames();

}  // namespace vorlanex::gauges
