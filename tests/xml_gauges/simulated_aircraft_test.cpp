#include "simulated_aircraft.h"

#include <gtest/gtest.h>

#include "script_fixture.h"
#include "units.h"

namespace vorlanex::gauges {
namespace {

TEST(Units, ConvertWithinADimension) {
  struct Case {
    const char* held;
    const char* wanted;
    double value;
    double read;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"percent", "percent over 100", 50, 0.5}, {"percent over 100", "Percent", 0.25, 25},
           {"feet", "meters", 1000, 304.8}, {"metres", "foot", 0.3048, 1},
           {"knots", "m/s", 1, 0.514444444}, {"mph", "knots", 100, 86.897624},
           {"meters per second", "feet per second", 1, 3.280839895}, {"feet per second", "feet per minute", 1, 60},
           {"degrees", "radians", 180, 3.141592654}, {"radian", "degree", 1, 57.295779513},
           {"seconds", "hours", 5400, 1.5}, {"hour", "minutes", 2, 120}, {"minute", "second", 1, 60},
           {"rpm", "rpm", 2200, 2200}, {"rpm", "number", 2200, 2200}, {"percent", "bool", 40, 1},
           {"number", "bool", 0, 0}, {"celsius", "fahrenheit", 100, 212}, {"psi", "inhg", 1, 2.036021},
       }) {
    const Unit* held = findUnit(c.held);
    const Unit* wanted = findUnit(c.wanted);
    ASSERT_TRUE(held != nullptr && wanted != nullptr) << c.held << " " << c.wanted;
    const UnitRead read = conversionBetween(*held, *wanted);
    ASSERT_FALSE(read.crossGroup) << c.held << " " << c.wanted;
    const Conversion* conversion = &read.conversion;
    EXPECT_NEAR(conversion->apply(c.value), c.read, 1e-6) << c.held << " as " << c.wanted;
    if (!conversion->boolean) {
      EXPECT_NEAR(conversion->invert(c.read), c.value, 1e-6) << c.held << " from " << c.wanted;
    }
  }
  EXPECT_TRUE(conversionBetween(*findUnit("feet"), *findUnit("knots")).crossGroup);
  EXPECT_EQ(findUnit("furlongs"), nullptr);
}

TEST(SimulatedAircraft, EventsChangeTheirVariables) {
  struct Step {
    const char* event;
    double value;
    const char* variable;  // read as "(A:...)" in its table unit
    double read;
  };
  SimulatedAircraft aircraft;
  const auto read = [&aircraft](const char* variable) { return aircraft.read(*parseVariableName(variable)); };
  for (const Step& step : std::initializer_list<Step>{
           {"TOGGLE_MASTER_BATTERY", 0, "A:ELECTRICAL MASTER BATTERY", 1},
           {"", 0, "A:CIRCUIT GENERAL PANEL ON", 1},
           {"toggle_avionics_master", 0, "A:CIRCUIT AVIONICS ON", 1},
           {"AVIONICS_MASTER_SET", 0, "A:AVIONICS MASTER SWITCH", 0},
           {"TOGGLE_MASTER_ALTERNATOR", 0, "A:GENERAL ENG MASTER ALTERNATOR:1", 1},
           {"STROBES_TOGGLE", 0, "A:LIGHT STROBE", 1}, {"TOGGLE_BEACON_LIGHTS", 0, "A:LIGHT BEACON", 1},
           {"TOGGLE_NAV_LIGHTS", 0, "A:LIGHT NAV", 1}, {"LANDING_LIGHTS_TOGGLE", 0, "A:LIGHT LANDING", 1},
           {"TOGGLE_TAXI_LIGHTS", 0, "A:LIGHT TAXI", 1}, {"PANEL_LIGHTS_TOGGLE", 0, "A:LIGHT PANEL", 1},
           {"GEAR_UP", 0, "A:GEAR HANDLE POSITION", 1},  // the gear is fixed
           {"", 0, "A:GEAR CENTER POSITION, percent over 100", 1},
           {"GEAR_TOGGLE", 0, "A:GEAR HANDLE POSITION", 1},
           {"FLAPS_INCR", 0, "A:FLAPS HANDLE INDEX", 1}, {"FLAPS_INCR", 0, "A:FLAPS HANDLE PERCENT, percent", 200.0 / 3},
           {"FLAPS_DOWN", 0, "A:FLAPS HANDLE INDEX", 3}, {"FLAPS_INCR", 0, "A:FLAPS HANDLE INDEX", 3},
           {"FLAPS_DECR", 0, "A:TRAILING EDGE FLAPS LEFT PERCENT, percent", 200.0 / 3},
           {"FLAPS_UP", 0, "A:FLAPS HANDLE PERCENT", 0}, {"FLAPS_DECR", 0, "A:FLAPS HANDLE INDEX", 0},
           {"PARKING_BRAKES", 0, "A:BRAKE PARKING INDICATOR", 0},
           {"TOGGLE_AIRCRAFT_EXIT", 0, "A:EXIT OPEN:0, percent", 100},
           {"TOGGLE_AIRCRAFT_EXIT", 0, "A:EXIT OPEN:0, percent", 0},
           {"SMOKE_TOGGLE", 0, "A:SMOKE ENABLE", 1}, {"PITOT_HEAT_TOGGLE", 0, "A:PITOT HEAT", 1},
       }) {
    if (*step.event != 0) aircraft.send(step.event, step.value);
    EXPECT_NEAR(read(step.variable), step.read, 1e-9) << step.event << " " << step.variable;
  }
  EXPECT_TRUE(SimulatedAircraft::knownEvent("gear_up"));
  EXPECT_FALSE(SimulatedAircraft::knownEvent("NO_SUCH_EVENT"));
}

TEST(SimulatedAircraft, ScriptsSendEventsWithTheirValueAndSite) {
  ScriptFixture fixture;
  fixture.aircraft.advance(2.5);
  fixture.run("1\n(>K:toggle_master_battery) 7 (>K:NO_SUCH_EVENT)", 4);
  const std::vector<SentEvent>& events = fixture.aircraft.events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].event, "TOGGLE_MASTER_BATTERY");
  EXPECT_EQ(events[0].value, 1);
  EXPECT_EQ(events[0].time, 2.5);
  EXPECT_EQ(events[0].sender.line, 5);
  EXPECT_EQ(events[0].sender.excerpt, "(>K:toggle_master_battery) 7 (>K:NO_SUCH_EVENT)");
  EXPECT_EQ(events[1].event, "NO_SUCH_EVENT");
  EXPECT_EQ(events[1].value, 7);
  EXPECT_EQ(fixture.run("(A:ELECTRICAL MASTER BATTERY, bool)").number, 1);
  EXPECT_EQ(fixture.told(), "5: unknown event 'NO_SUCH_EVENT': the simulator has no such event\n");
  EXPECT_EQ(fixture.run("(>K:GEAR_UP)").number, 0);  // no value: 0 is sent, nothing more is told
  EXPECT_EQ(fixture.told(), "5: unknown event 'NO_SUCH_EVENT': the simulator has no such event\n");
}

// A gauge looping on an event: every one is applied, few are kept.
TEST(SimulatedAircraft, KeepsMemoryBoundedForAScriptThatLoopsSendingEvents) {
  ScriptFixture fixture;
  const std::string loop = ":1 (>K:TOGGLE_MASTER_BATTERY) g1";
  for (int frame = 0; frame < 3; ++frame) {
    fixture.run(loop);
    fixture.aircraft.advance(1.0 / 18);
  }
  EXPECT_EQ(fixture.aircraft.events().size(), 3 * SimulatedAircraft::kMaxEventsAtOnce);
  EXPECT_GT(fixture.aircraft.eventsNotRecorded(), 3 * SimulatedAircraft::kMaxEventsAtOnce);
}

TEST(SimulatedAircraft, TheClockAdvancesFromAFixedNoon) {
  ScriptFixture fixture;
  const Program clock = compileScript(
      "(E:LOCAL TIME, hours) (P:Local day of month, number) 100 * + (P:Absolute time, seconds) (>L:absolute)",
      {"", "clock.xml", 1, ""}, fixture.context);
  EXPECT_NEAR(runScript(clock, fixture.context).number, 2112, 1e-9);
  const double start = fixture.shared.valueOf("absolute");
  fixture.aircraft.advance(90);
  EXPECT_NEAR(runScript(clock, fixture.context).number, 2112.025, 1e-9);
  EXPECT_NEAR(fixture.shared.valueOf("absolute") - start, 90, 1e-6);
  fixture.aircraft.advance(12 * 3600);
  EXPECT_NEAR(runScript(clock, fixture.context).number, 2200.025, 1e-9);
  EXPECT_EQ(fixture.run("(P:Local month of year, number) 10000 * (P:Local year, number) +").number, 62004);
  EXPECT_NEAR(fixture.aircraft.time(), 90 + 12 * 3600, 1e-9);
}

TEST(SimulatedAircraft, ScriptStepsReadAndWriteInAnyUnitOfTheDimension) {
  SimulatedAircraft aircraft;
  aircraft.write(*parseVariableName("(A:AIRSPEED INDICATED, m/s)"), 1852.0 / 3600.0);
  EXPECT_NEAR(aircraft.read(*parseVariableName("(A:airspeed  indicated, knots)")), 1, 1e-9);
  const int slot = aircraft.bind('A', "Custom thing", 2, "feet");
  aircraft.write(*parseVariableName("(A:CUSTOM THING:2, meters)"), 3.048);
  EXPECT_NEAR(aircraft.get(slot), 10, 1e-9);
  EXPECT_EQ(aircraft.nameOf(slot), "(A:Custom thing:2, feet)");
  EXPECT_EQ(aircraft.nameOf(aircraft.bind('P', "local time", 0)), "(E:LOCAL TIME, seconds)");
  EXPECT_EQ(aircraft.bind('A', "general eng2 rpm", 0), aircraft.bind('A', "GENERAL ENG RPM", 2));
}

TEST(VariableName, ReadsEveryForm) {
  struct Case {
    const char* text;
    const char* shown;  // variableText of what was read; "" for nothing
  };
  for (const Case& c : std::initializer_list<Case>{
           {"(A:GENERAL ENG RPM:1, rpm)", "(A:GENERAL ENG RPM:1, rpm)"},
           {"( >L:cabin fan ,Number )", "(>L:cabin fan, number)"},
           {"P:Local time,hours", "(E:Local time, hours)"},
           {"(L:a:b, bool)", "(L:a:b, bool)"},
           {"(>K:GEAR_UP)", "(>K:GEAR_UP)"},
           {"(a:exit open : 2, Percent  Over   100)", "(A:exit open:2, percent over 100)"},
           {"(X:foo)", ""}, {"(L:)", ""}, {"fan", ""},
       }) {
    const std::optional<VariableName> name = parseVariableName(c.text);
    EXPECT_EQ(name ? variableText(*name) : "", c.shown) << c.text;
  }
  EXPECT_EQ(simulatorKey("  general  eng\trpm "), "GENERAL ENG RPM");
}

}  // namespace
}  // namespace vorlanex::gauges
