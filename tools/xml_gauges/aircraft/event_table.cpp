#include "event_table.h"

namespace vorlanex::gauges {
namespace {

using A = EventAction;

constexpr EventEffect kEffects[] = {
    {"TOGGLE_MASTER_BATTERY", A::kToggle, "ELECTRICAL MASTER BATTERY"},
    {"MASTER_BATTERY_ON", A::kSet, "ELECTRICAL MASTER BATTERY", 0, 1.0},
    {"MASTER_BATTERY_OFF", A::kSet, "ELECTRICAL MASTER BATTERY", 0, 0.0},
    {"MASTER_BATTERY_SET", A::kSetByValue, "ELECTRICAL MASTER BATTERY"},
    {"TOGGLE_MASTER_ALTERNATOR", A::kToggle, "GENERAL ENG MASTER ALTERNATOR", 1},
    {"TOGGLE_ALTERNATOR1", A::kToggle, "GENERAL ENG MASTER ALTERNATOR", 1},
    {"TOGGLE_ALTERNATOR2", A::kToggle, "GENERAL ENG MASTER ALTERNATOR", 2},
    {"TOGGLE_AVIONICS_MASTER", A::kToggle, "AVIONICS MASTER SWITCH"},
    {"AVIONICS_MASTER_SET", A::kSetByValue, "AVIONICS MASTER SWITCH"},

    {"STROBES_TOGGLE", A::kToggle, "LIGHT STROBE"},
    {"STROBES_ON", A::kSet, "LIGHT STROBE", 0, 1.0},
    {"STROBES_OFF", A::kSet, "LIGHT STROBE", 0, 0.0},
    {"STROBES_SET", A::kSetByValue, "LIGHT STROBE"},
    {"TOGGLE_BEACON_LIGHTS", A::kToggle, "LIGHT BEACON"},
    {"TOGGLE_NAV_LIGHTS", A::kToggle, "LIGHT NAV"},
    {"LANDING_LIGHTS_TOGGLE", A::kToggle, "LIGHT LANDING"},
    {"LANDING_LIGHTS_ON", A::kSet, "LIGHT LANDING", 0, 1.0},
    {"LANDING_LIGHTS_OFF", A::kSet, "LIGHT LANDING", 0, 0.0},
    {"LANDING_LIGHTS_SET", A::kSetByValue, "LIGHT LANDING"},
    {"TOGGLE_TAXI_LIGHTS", A::kToggle, "LIGHT TAXI"},
    {"PANEL_LIGHTS_TOGGLE", A::kToggle, "LIGHT PANEL"},
    {"PANEL_LIGHTS_ON", A::kSet, "LIGHT PANEL", 0, 1.0},
    {"PANEL_LIGHTS_OFF", A::kSet, "LIGHT PANEL", 0, 0.0},
    {"PANEL_LIGHTS_SET", A::kSetByValue, "LIGHT PANEL"},
    {"TOGGLE_RECOGNITION_LIGHTS", A::kToggle, "LIGHT RECOGNITION"},
    {"TOGGLE_WING_LIGHTS", A::kToggle, "LIGHT WING"},
    {"TOGGLE_LOGO_LIGHTS", A::kToggle, "LIGHT LOGO"},
    {"TOGGLE_CABIN_LIGHTS", A::kToggle, "LIGHT CABIN"},

    {"GEAR_TOGGLE", A::kToggle, "GEAR HANDLE POSITION"},
    {"GEAR_UP", A::kSet, "GEAR HANDLE POSITION", 0, 0.0},
    {"GEAR_DOWN", A::kSet, "GEAR HANDLE POSITION", 0, 1.0},
    {"GEAR_SET", A::kSetByValue, "GEAR HANDLE POSITION"},

    {"FLAPS_INCR", A::kStepUp, "FLAPS HANDLE INDEX", 0, 1.0, "FLAPS NUM HANDLE POSITIONS"},
    {"FLAPS_DECR", A::kStepDown, "FLAPS HANDLE INDEX"},
    {"FLAPS_UP", A::kSet, "FLAPS HANDLE INDEX", 0, 0.0},
    {"FLAPS_DOWN", A::kSetToLimit, "FLAPS HANDLE INDEX", 0, 1.0, "FLAPS NUM HANDLE POSITIONS"},

    {"PARKING_BRAKES", A::kToggle, "BRAKE PARKING POSITION"},
    {"TOGGLE_AIRCRAFT_EXIT", A::kToggle, "EXIT OPEN", 0, 100.0},
    {"SMOKE_TOGGLE", A::kToggle, "SMOKE ENABLE"},
    {"SMOKE_ON", A::kSet, "SMOKE ENABLE", 0, 1.0},
    {"SMOKE_OFF", A::kSet, "SMOKE ENABLE", 0, 0.0},
    {"PITOT_HEAT_TOGGLE", A::kToggle, "PITOT HEAT"},
    {"PITOT_HEAT_ON", A::kSet, "PITOT HEAT", 0, 1.0},
    {"PITOT_HEAT_OFF", A::kSet, "PITOT HEAT", 0, 0.0},

    {"KOHLSMAN_INC", A::kAdd, "KOHLSMAN SETTING MB", 0, 1.0},
    {"KOHLSMAN_DEC", A::kAdd, "KOHLSMAN SETTING MB", 0, -1.0},
};

using Read = double (*)(const void*, std::string_view);

double batteryOn(Read read, const void* aircraft) { return read(aircraft, "ELECTRICAL MASTER BATTERY"); }
double avionicsPowered(Read read, const void* aircraft) {
  return read(aircraft, "ELECTRICAL MASTER BATTERY") != 0.0 && read(aircraft, "AVIONICS MASTER SWITCH") != 0.0;
}
double flapsPercent(Read read, const void* aircraft) {
  const double positions = read(aircraft, "FLAPS NUM HANDLE POSITIONS");
  return positions > 0.0 ? 100.0 * read(aircraft, "FLAPS HANDLE INDEX") / positions : 0.0;
}
double gearPercent(Read read, const void* aircraft) { return read(aircraft, "GEAR HANDLE POSITION") != 0.0 ? 100.0 : 0.0; }
double parkingBrake(Read read, const void* aircraft) { return read(aircraft, "BRAKE PARKING POSITION"); }
double kohlsmanInches(Read read, const void* aircraft) { return read(aircraft, "KOHLSMAN SETTING MB") * 0.029529983; }

constexpr Consequence kConsequences[] = {
    {"ELECTRICAL MASTER BATTERY", "CIRCUIT GENERAL PANEL ON", batteryOn},
    {"ELECTRICAL MASTER BATTERY", "CIRCUIT AVIONICS ON", avionicsPowered},
    {"AVIONICS MASTER SWITCH", "CIRCUIT AVIONICS ON", avionicsPowered},
    {"FLAPS HANDLE INDEX", "FLAPS HANDLE PERCENT", flapsPercent},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS LEFT PERCENT", flapsPercent},
    {"FLAPS HANDLE INDEX", "TRAILING EDGE FLAPS RIGHT PERCENT", flapsPercent},
    {"GEAR HANDLE POSITION", "GEAR CENTER POSITION", gearPercent},
    {"GEAR HANDLE POSITION", "GEAR LEFT POSITION", gearPercent},
    {"GEAR HANDLE POSITION", "GEAR RIGHT POSITION", gearPercent},
    {"GEAR HANDLE POSITION", "GEAR TOTAL PCT EXTENDED", gearPercent},
    {"BRAKE PARKING POSITION", "BRAKE PARKING INDICATOR", parkingBrake},
    {"KOHLSMAN SETTING MB", "KOHLSMAN SETTING HG", kohlsmanInches},
};

}  // namespace

std::vector<const EventEffect*> effectsOf(std::string_view event) {
  std::vector<const EventEffect*> effects;
  for (const EventEffect& effect : kEffects) {
    if (effect.event == event) effects.push_back(&effect);
  }
  return effects;
}

std::vector<const Consequence*> consequencesOf(std::string_view variable) {
  std::vector<const Consequence*> consequences;
  for (const Consequence& consequence : kConsequences) {
    if (consequence.cause == variable) consequences.push_back(&consequence);
  }
  return consequences;
}

}  // namespace vorlanex::gauges
