#include "units.h"

#include <cctype>
#include <string>

namespace vorlanex::gauges {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Each dimension's base is the unit of scale 1 and offset 0.
constexpr Unit kUnits[] = {
    {"number", Dimension::kPlain},
    {"numbers", Dimension::kPlain},
    {"enum", Dimension::kPlain},
    {"position", Dimension::kPlain},
    {"scalar", Dimension::kPlain},
    {"part", Dimension::kPlain},
    {"mask", Dimension::kPlain},
    {"flags", Dimension::kPlain},
    {"bool", Dimension::kBool},
    {"boolean", Dimension::kBool},

    {"percent over 100", Dimension::kRatio},
    {"percent", Dimension::kRatio, 0.01},
    {"percentage", Dimension::kRatio, 0.01},

    {"meters", Dimension::kLength},
    {"meter", Dimension::kLength},
    {"metres", Dimension::kLength},
    {"metre", Dimension::kLength},
    {"m", Dimension::kLength},
    {"feet", Dimension::kLength, 0.3048},
    {"foot", Dimension::kLength, 0.3048},
    {"ft", Dimension::kLength, 0.3048},
    {"inches", Dimension::kLength, 0.0254},
    {"inch", Dimension::kLength, 0.0254},
    {"kilometers", Dimension::kLength, 1000.0},
    {"kilometres", Dimension::kLength, 1000.0},
    {"km", Dimension::kLength, 1000.0},
    {"nautical miles", Dimension::kLength, 1852.0},
    {"nautical mile", Dimension::kLength, 1852.0},
    {"nmiles", Dimension::kLength, 1852.0},
    {"miles", Dimension::kLength, 1609.344},
    {"mile", Dimension::kLength, 1609.344},

    {"meters per second", Dimension::kSpeed},
    {"meter per second", Dimension::kSpeed},
    {"m/s", Dimension::kSpeed},
    {"knots", Dimension::kSpeed, 1852.0 / 3600.0},
    {"knot", Dimension::kSpeed, 1852.0 / 3600.0},
    {"kts", Dimension::kSpeed, 1852.0 / 3600.0},
    {"mph", Dimension::kSpeed, 0.44704},
    {"miles per hour", Dimension::kSpeed, 0.44704},
    {"kilometers per hour", Dimension::kSpeed, 1.0 / 3.6},
    {"kph", Dimension::kSpeed, 1.0 / 3.6},
    {"feet per second", Dimension::kSpeed, 0.3048},
    {"foot per second", Dimension::kSpeed, 0.3048},
    {"feet per minute", Dimension::kSpeed, 0.3048 / 60.0},
    {"foot per minute", Dimension::kSpeed, 0.3048 / 60.0},
    {"ft/min", Dimension::kSpeed, 0.3048 / 60.0},

    {"radians", Dimension::kAngle},
    {"radian", Dimension::kAngle},
    {"degrees", Dimension::kAngle, kPi / 180.0},
    {"degree", Dimension::kAngle, kPi / 180.0},

    {"seconds", Dimension::kTime},
    {"second", Dimension::kTime},
    {"sec", Dimension::kTime},
    {"minutes", Dimension::kTime, 60.0},
    {"minute", Dimension::kTime, 60.0},
    {"min", Dimension::kTime, 60.0},
    {"hours", Dimension::kTime, 3600.0},
    {"hour", Dimension::kTime, 3600.0},
    {"days", Dimension::kTime, 86400.0},
    {"day", Dimension::kTime, 86400.0},

    {"rpm", Dimension::kRotation},
    {"rpms", Dimension::kRotation},
    {"revolutions per minute", Dimension::kRotation},
    {"radians per second", Dimension::kRotation, 60.0 / (2.0 * kPi)},
    {"degrees per second", Dimension::kRotation, 60.0 / 360.0},

    {"pascals", Dimension::kPressure},
    {"pascal", Dimension::kPressure},
    {"psi", Dimension::kPressure, 6894.757293168},
    {"psf", Dimension::kPressure, 47.880258980336},
    {"millibars", Dimension::kPressure, 100.0},
    {"millibar", Dimension::kPressure, 100.0},
    {"mbar", Dimension::kPressure, 100.0},
    {"hectopascals", Dimension::kPressure, 100.0},
    {"inches of mercury", Dimension::kPressure, 3386.389},
    {"inhg", Dimension::kPressure, 3386.389},

    {"celsius", Dimension::kTemperature},
    {"fahrenheit", Dimension::kTemperature, 5.0 / 9.0, -32.0 * 5.0 / 9.0},
    {"kelvin", Dimension::kTemperature, 1.0, -273.15},
    {"rankine", Dimension::kTemperature, 5.0 / 9.0, -273.15},

    {"gallons", Dimension::kVolume},
    {"gallon", Dimension::kVolume},
    {"liters", Dimension::kVolume, 1.0 / 3.785411784},
    {"litres", Dimension::kVolume, 1.0 / 3.785411784},

    {"pounds", Dimension::kMass},
    {"pound", Dimension::kMass},
    {"lbs", Dimension::kMass},
    {"kilograms", Dimension::kMass, 1.0 / 0.45359237},
    {"kg", Dimension::kMass, 1.0 / 0.45359237},

    {"volts", Dimension::kVoltage},
    {"volt", Dimension::kVoltage},
    {"amperes", Dimension::kCurrent},
    {"ampere", Dimension::kCurrent},
    {"amps", Dimension::kCurrent},
    {"amp", Dimension::kCurrent},
};

std::string normalizedUnit(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '_') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

const Unit* findUnit(std::string_view name) {
  const std::string key = normalizedUnit(name);
  for (const Unit& unit : kUnits) {
    if (unit.name == key) return &unit;
  }
  return nullptr;
}

std::optional<Conversion> conversionBetween(const Unit& held, const Unit& wanted) {
  if (wanted.dimension == Dimension::kBool) return Conversion{1.0, 0.0, true};
  if (held.dimension == Dimension::kPlain || held.dimension == Dimension::kBool ||
      wanted.dimension == Dimension::kPlain) {
    return Conversion{};
  }
  if (held.dimension != wanted.dimension) return std::nullopt;
  // base = held * hs + ho; wanted = (base - wo) / ws.
  return Conversion{held.scale / wanted.scale, (held.offset - wanted.offset) / wanted.scale, false};
}

}  // namespace vorlanex::gauges
