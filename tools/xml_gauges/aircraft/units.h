// The units scripts name on simulator variables, and the conversions between
// units of one dimension, fixed when a script is compiled.
#pragma once

#include <optional>
#include <string_view>

namespace vorlanex::gauges {

enum class Dimension {
  kPlain,  // number, enum, position...: taken as they stand
  kBool,   // read as 0 or 1
  kRatio, kLength, kSpeed, kAngle, kTime, kRotation, kPressure, kTemperature,
  kVolume, kMass, kVoltage, kCurrent,
};

struct Unit {
  constexpr Unit(std::string_view name, Dimension dimension, double scale = 1.0, double offset = 0.0)
      : name(name), dimension(dimension), scale(scale), offset(offset) {}
  std::string_view name;  // lower case, one blank between words
  Dimension dimension;
  // The value in the dimension's base unit is value * scale + offset.
  double scale;
  double offset;
};

// By any of the names panels write ("knots", "knot", "percent over 100");
// without regard to case and blanks. Nothing for a unit we do not know.
const Unit* findUnit(std::string_view name);

// How a value held in one unit reads in another: value * scale + offset,
// then made 0 or 1 when `boolean`.
struct Conversion {
  double scale = 1.0;
  double offset = 0.0;
  bool boolean = false;

  double apply(double value) const {
    if (boolean) return value != 0.0 ? 1.0 : 0.0;
    return value * scale + offset;
  }
  // The held value that reads as `value` (a bool writes 0 or 1).
  double invert(double value) const {
    if (boolean) return value != 0.0 ? 1.0 : 0.0;
    return (value - offset) / scale;
  }
  bool identity() const { return !boolean && scale == 1.0 && offset == 0.0; }
};

// From the unit a variable is held in to the unit a script names. A plain
// unit on either side takes the number as it stands; bool makes 0 or 1.
// Nothing when the dimensions differ (feet read as knots).
std::optional<Conversion> conversionBetween(const Unit& held, const Unit& wanted);

}  // namespace vorlanex::gauges
