// The units scripts name on simulator variables (aircraft/tables/sim-units.tsv,
// with their aliases), and how a value held in one reads in another, fixed
// when a script is compiled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlanex::gauges {

// How a unit writes its number. An encoded unit is read through a plain one
// of its group: a BCD16 frequency through MHz, an ADF BCD32 one through kHz,
// a BCO16 squawk through its four digits.
enum class Encoding {
  kLinear,     // value x factor + offset in the group's base unit
  kBcd16,      // 0x2280 is 122.80 MHz: four BCD digits without the leading 1
  kBcd32,      // 0x12280000 is 122.80 MHz: eight BCD digits of tens of hertz
  kAdfBcd32,   // 0x03440000 is 344 kHz: BCD kHz, then the tenths
  kAdfBcd16,   // 0x0344 is 344 kHz: "frequency bcd16" on an ADF variable
  kBco16,      // 0x1200 is squawk 1200: four octal digits, one a nibble
};

struct Unit {
  std::string name;       // as the table writes it: "inch of mercury", "MHz"
  std::string dimension;  // the table's coarse dimension: "pressure", "bool", "number"...
  std::string group;      // its fine dimension: values convert only within one
  Encoding encoding = Encoding::kLinear;
  // The value in the group's base unit is value * factor + offset (for an
  // encoded unit: its decoded value's).
  double factor = 1.0;
  double offset = 0.0;

  bool boolean() const { return group == "bool"; }
  // number, enum, mask...: the number a variable is documented in, as it stands.
  bool plain() const { return (group == "number" || group == "enum") && factor == 1.0 && offset == 0.0; }
};

// By its name or any alias ("knots", "Knot", "percent over 100", "farenheit"),
// without regard to case and runs of blanks. Nothing for a unit we do not know.
const Unit* findUnit(std::string_view name);

// How a value held in one unit reads in another: decoded, then value * scale
// + offset, then encoded, then made 0 or 1 when `boolean`.
struct Conversion {
  double scale = 1.0;
  double offset = 0.0;
  bool boolean = false;
  Encoding from = Encoding::kLinear;
  Encoding to = Encoding::kLinear;

  double apply(double value) const;
  // The held value that reads as `value` (a bool writes 0 or 1).
  double invert(double value) const;
  bool identity() const {
    return !boolean && scale == 1.0 && offset == 0.0 && from == Encoding::kLinear && to == Encoding::kLinear;
  }
};

// From the unit a variable is held in to a unit of the same group, or to a
// bool (0 or 1) or plain unit (the number as held). `crossGroup` says whether
// the groups differ (feet read as knots); such a read follows the simulator's
// rule in crossGroupConversion.
struct UnitRead {
  Conversion conversion;
  bool crossGroup = false;
};
UnitRead conversionBetween(const Unit& held, const Unit& wanted);

// A unit of another group than the variable's reads the value converted to
// its own group's base, taken as the base of the asked unit's group and
// converted to the asked unit: an altitude read in kelvin gives its metres.
// One community description says the simulator reads so; kCrossGroupAsIs
// would give the base value as it stands instead.
enum class CrossGroupRead { kBaseAsAskedBase, kCrossGroupAsIs };
constexpr CrossGroupRead kCrossGroupRead = CrossGroupRead::kBaseAsAskedBase;
Conversion crossGroupConversion(const Unit& held, const Unit& wanted);

// An encoded value's plain number (0x2280 in kBcd16: 122.8 MHz; 0x1200 in
// kBco16: 1200), and back.
double decodedValue(Encoding encoding, double value);
double encodedValue(Encoding encoding, double value);

// A simulator variable read without a unit reads 0 in a gauge, as one
// community description of the simulator says; false would read the number
// as held.
constexpr bool kUnitlessReadIsZero = true;

// Every unit the table knows, each once.
const std::vector<Unit>& allUnits();

}  // namespace vorlanex::gauges
