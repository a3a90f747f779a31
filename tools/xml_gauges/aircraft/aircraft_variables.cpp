#include "aircraft_variables.h"

namespace vorlanex::gauges {
namespace {

constexpr KnownVariable kVariables[] = {
    // Engines, by index.
    {'A', "GENERAL ENG RPM", "rpm"},
    {'A', "GENERAL ENG COMBUSTION", "bool"},
    {'A', "GENERAL ENG STARTER", "bool"},
    {'A', "GENERAL ENG MASTER ALTERNATOR", "bool"},
    {'A', "GENERAL ENG FUEL PUMP SWITCH", "bool"},
    {'A', "GENERAL ENG THROTTLE LEVER POSITION", "percent"},
    {'A', "GENERAL ENG MIXTURE LEVER POSITION", "percent", 100.0},
    {'A', "GENERAL ENG PROPELLER LEVER POSITION", "percent", 100.0},
    {'A', "GENERAL ENG OIL PRESSURE", "psi"},
    {'A', "GENERAL ENG OIL TEMPERATURE", "celsius", 15.0},
    {'A', "PROP RPM", "rpm"},
    {'A', "TURB ENG N1", "percent"},
    {'A', "TURB ENG N2", "percent"},
    {'A', "RECIP ENG MANIFOLD PRESSURE", "inches of mercury", 29.92},
    {'A', "NUMBER OF ENGINES", "number", 1.0},

    // Electrics.
    {'A', "ELECTRICAL MASTER BATTERY", "bool"},
    {'A', "ELECTRICAL BATTERY VOLTAGE", "volts", 24.0},
    {'A', "ELECTRICAL MAIN BUS VOLTAGE", "volts"},
    {'A', "ELECTRICAL GENALT BUS VOLTAGE", "volts"},
    {'A', "AVIONICS MASTER SWITCH", "bool"},
    {'A', "CIRCUIT GENERAL PANEL ON", "bool"},
    {'A', "CIRCUIT AVIONICS ON", "bool"},
    {'A', "PITOT HEAT", "bool"},

    // Lights.
    {'A', "LIGHT STROBE", "bool"},
    {'A', "LIGHT BEACON", "bool"},
    {'A', "LIGHT NAV", "bool"},
    {'A', "LIGHT LANDING", "bool"},
    {'A', "LIGHT TAXI", "bool"},
    {'A', "LIGHT PANEL", "bool"},
    {'A', "LIGHT RECOGNITION", "bool"},
    {'A', "LIGHT WING", "bool"},
    {'A', "LIGHT LOGO", "bool"},
    {'A', "LIGHT CABIN", "bool"},

    // Airframe and controls.
    {'A', "SIM ON GROUND", "bool", 1.0},
    {'A', "EXIT OPEN", "percent"},
    {'A', "CANOPY OPEN", "percent"},
    {'A', "GEAR HANDLE POSITION", "bool", 1.0},
    {'A', "GEAR CENTER POSITION", "percent", 100.0},
    {'A', "GEAR LEFT POSITION", "percent", 100.0},
    {'A', "GEAR RIGHT POSITION", "percent", 100.0},
    {'A', "GEAR TOTAL PCT EXTENDED", "percent", 100.0},
    {'A', "FLAPS HANDLE PERCENT", "percent"},
    {'A', "FLAPS HANDLE INDEX", "number"},
    {'A', "FLAPS NUM HANDLE POSITIONS", "number", 3.0},
    {'A', "TRAILING EDGE FLAPS LEFT PERCENT", "percent"},
    {'A', "TRAILING EDGE FLAPS RIGHT PERCENT", "percent"},
    {'A', "BRAKE PARKING POSITION", "bool", 1.0},
    {'A', "BRAKE PARKING INDICATOR", "bool", 1.0},
    {'A', "SMOKE ENABLE", "bool"},
    {'A', "SPOILERS HANDLE POSITION", "percent"},
    {'A', "STALL WARNING", "bool"},
    {'A', "OVERSPEED WARNING", "bool"},
    {'A', "FUEL TOTAL QUANTITY", "gallons", 40.0},

    // Flight, at rest.
    {'A', "AIRSPEED INDICATED", "knots"},
    {'A', "AIRSPEED TRUE", "knots"},
    {'A', "GROUND VELOCITY", "knots"},
    {'A', "VERTICAL SPEED", "feet per second"},
    {'A', "INDICATED ALTITUDE", "feet"},
    {'A', "PLANE ALTITUDE", "feet"},
    {'A', "PLANE ALT ABOVE GROUND", "feet"},
    {'A', "PLANE HEADING DEGREES MAGNETIC", "radians"},
    {'A', "PLANE HEADING DEGREES TRUE", "radians"},
    {'A', "PLANE PITCH DEGREES", "radians"},
    {'A', "PLANE BANK DEGREES", "radians"},
    {'A', "KOHLSMAN SETTING MB", "millibars", 1013.25},
    {'A', "KOHLSMAN SETTING HG", "inches of mercury", 29.92},
    {'A', "BAROMETER PRESSURE", "millibars", 1013.25},
    {'A', "AMBIENT TEMPERATURE", "celsius", 15.0},
    {'A', "TOTAL AIR TEMPERATURE", "celsius", 15.0},

    // Environment and program. The clock's resting values are read from it.
    {'E', "ABSOLUTE TIME", "seconds", 0.0, ClockRole::kAbsoluteTime},
    {'E', "LOCAL TIME", "seconds", 0.0, ClockRole::kLocalTime},
    {'E', "ZULU TIME", "seconds", 0.0, ClockRole::kZuluTime},
    {'E', "LOCAL DAY OF MONTH", "number", 0.0, ClockRole::kLocalDayOfMonth},
    {'E', "LOCAL MONTH OF YEAR", "number", 0.0, ClockRole::kLocalMonthOfYear},
    {'E', "LOCAL YEAR", "number", 0.0, ClockRole::kLocalYear},
    {'E', "LOCAL DAY OF YEAR", "number", 0.0, ClockRole::kLocalDayOfYear},
    {'E', "LOCAL DAY OF WEEK", "number", 0.0, ClockRole::kLocalDayOfWeek},
    {'E', "ZULU DAY OF MONTH", "number", 0.0, ClockRole::kZuluDayOfMonth},
    {'E', "ZULU MONTH OF YEAR", "number", 0.0, ClockRole::kZuluMonthOfYear},
    {'E', "ZULU YEAR", "number", 0.0, ClockRole::kZuluYear},
    {'E', "TIME ZONE OFFSET", "seconds"},
    {'E', "TIME OF DAY", "enum", 1.0},  // 1: day
    {'E', "SIMULATION RATE", "number", 1.0},
    {'E', "UNITS OF MEASURE", "enum"},
};

// The old names' part after "ENGn ", and the indexed name it stands for.
struct OldEngineName {
  std::string_view old;
  std::string_view indexed;
};

constexpr OldEngineName kOldEngineNames[] = {
    {"RPM", "GENERAL ENG RPM"},     {"COMBUSTION", "GENERAL ENG COMBUSTION"},
    {"STARTER", "GENERAL ENG STARTER"}, {"N1 RPM", "TURB ENG N1"},
    {"N2 RPM", "TURB ENG N2"},
};

}  // namespace

std::optional<IndexedName> indexedNameOf(std::string_view key) {
  if (key.size() < 6 || key.substr(0, 3) != "ENG" || key[3] < '1' || key[3] > '4' || key[4] != ' ') {
    return std::nullopt;
  }
  for (const OldEngineName& name : kOldEngineNames) {
    if (name.old == key.substr(5)) return IndexedName{name.indexed, key[3] - '0'};
  }
  return std::nullopt;
}

const KnownVariable* findKnownVariable(char kind, std::string_view key) {
  for (const KnownVariable& variable : kVariables) {
    if (variable.kind == kind && variable.name == key) return &variable;
  }
  return nullptr;
}

}  // namespace vorlanex::gauges
