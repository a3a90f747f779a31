#include "derived_variables.h"

namespace vorlanex::gauges {
namespace {

double batteryOn(const ReadVariable& read) { return read("ELECTRICAL MASTER BATTERY") != 0.0 ? 1.0 : 0.0; }
double avionicsPowered(const ReadVariable& read) {
  return read("ELECTRICAL MASTER BATTERY") != 0.0 && read("AVIONICS MASTER SWITCH") != 0.0 ? 1.0 : 0.0;
}
// A fraction, 1 for the last detent.
double flapsExtended(const ReadVariable& read) {
  const double positions = read("FLAPS NUM HANDLE POSITIONS");
  return positions > 0.0 ? read("FLAPS HANDLE INDEX") / positions : 0.0;
}
double gearExtended(const ReadVariable& read) { return read("GEAR HANDLE POSITION") != 0.0 ? 1.0 : 0.0; }
double gearPercentExtended(const ReadVariable& read) { return 100.0 * gearExtended(read); }

constexpr DerivedVariable kDerived[] = {
    {"ELECTRICAL MASTER BATTERY", "CIRCUIT GENERAL PANEL ON", 0, batteryOn},
    {"ELECTRICAL MASTER BATTERY", "CIRCUIT AVIONICS ON", 0, avionicsPowered},
    {"AVIONICS MASTER SWITCH", "CIRCUIT AVIONICS ON", 0, avionicsPowered},
    {"FLAPS HANDLE INDEX", "FLAPS HANDLE PERCENT", 0, flapsExtended},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS LEFT PERCENT", 0, flapsExtended},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS LEFT PERCENT", 1, flapsExtended},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS RIGHT PERCENT", 0, flapsExtended},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS RIGHT PERCENT", 1, flapsExtended},
    {"GEAR HANDLE POSITION", "GEAR CENTER POSITION", 0, gearExtended},
    {"GEAR HANDLE POSITION", "GEAR LEFT POSITION", 0, gearExtended},
    {"GEAR HANDLE POSITION", "GEAR RIGHT POSITION", 0, gearExtended},
    {"GEAR HANDLE POSITION", "GEAR TOTAL PCT EXTENDED", 0, gearPercentExtended},
};

}  // namespace

std::vector<const DerivedVariable*> derivedFrom(std::string_view cause) {
  std::vector<const DerivedVariable*> derived;
  for (const DerivedVariable& variable : kDerived) {
    if (variable.cause == cause) derived.push_back(&variable);
  }
  return derived;
}

}  // namespace vorlanex::gauges
