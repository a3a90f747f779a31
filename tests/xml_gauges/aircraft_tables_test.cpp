// The simulated aircraft against its own tables: every variable, numbered
// name and event, and the units the simulator accepts.
#include <gtest/gtest.h>

#include <cmath>

#include "event_table.h"
#include "gauge_panel.h"
#include "name_typos.h"
#include "script_fixture.h"
#include "table_rows.h"
#include "table_text.h"

namespace vorlanex::gauges {
namespace {

// Within a relative 1e-6, as steps compare numbers.
::testing::AssertionResult near(double actual, double expected) {
  if (std::fabs(actual - expected) <= 1e-6 * std::fmax(1.0, std::fabs(expected))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual << " is not " << expected;
}

// Each event sent in turn (none for an empty name), then the script's value.
struct EventRead {
  const char* event;
  double value;
  const char* script;
  double read;
};
void expectReads(ScriptFixture& fixture, std::initializer_list<EventRead> cases) {
  for (const EventRead& c : cases) {
    if (*c.event != 0) fixture.aircraft.send(c.event, c.value);
    EXPECT_TRUE(near(fixture.run(c.script).number, c.read)) << c.event << " " << c.script;
  }
}

double readAs(SimulatedAircraft& aircraft, char kind, const std::string& name, int index, const std::string& unit) {
  return aircraft.read({kind, name, index, unit, false});
}

// Read from the table's text itself, not from what the aircraft made of it.
TEST(AircraftTables, EveryVariableReadsItsRestValueInEveryUnitOfItsGroup) {
  SimulatedAircraft aircraft;
  int reads = 0;
  for (const auto& row : tableRows(variablesTableText())) {
    std::string name(cell(row, 0));
    const char kind = name[1] == ':' ? name[0] : 'A';
    if (kind != 'A') name.erase(0, 2);
    const bool indexed = name.size() > 2 && name.compare(name.size() - 2, 2, ":N") == 0;
    if (indexed) name.resize(name.size() - 2);
    std::string unitName(cell(row, 1));
    if (unitName.back() == '?') unitName.pop_back();
    const Unit* documented = findUnit(unitName);
    ASSERT_NE(documented, nullptr) << name << ": " << unitName;
    const double rest = tableNumber(cell(row, 4)).value_or(0.0);
    const int index = indexed ? 1 : 0;
    EXPECT_TRUE(near(readAs(aircraft, kind, name, index, unitName), rest)) << name << ", " << unitName;
    EXPECT_TRUE(near(readAs(aircraft, kind, name, index, "bool"), rest != 0.0)) << name << " as bool";
    EXPECT_TRUE(near(readAs(aircraft, kind, name, index, "number"), rest)) << name;
    if (documented->encoding != Encoding::kLinear) continue;
    const double base = rest * documented->factor + documented->offset;
    for (const Unit& unit : allUnits()) {
      if (unit.group != documented->group || unit.encoding != Encoding::kLinear) continue;
      EXPECT_TRUE(near(readAs(aircraft, kind, name, index, unit.name), (base - unit.offset) / unit.factor))
          << name << " in " << unit.name;
      ++reads;
    }
  }
  EXPECT_GT(reads, 5000);
}

TEST(AircraftTables, NumberedNamesAreTheirIndexedVariables) {
  SimulatedAircraft aircraft;
  for (const NumberedName& numbered : numberedNames()) {
    const TableVariable& variable = *numbered.variable;
    const int slot = aircraft.bind(variable.kind, variable.name, std::max(numbered.index, 0));
    EXPECT_EQ(aircraft.bind(variable.kind, numbered.name, 0), slot) << numbered.name;
    aircraft.set(slot, 1 + slot);
    EXPECT_EQ(readAs(aircraft, variable.kind, numbered.name, 0, ""), 1 + slot) << numbered.name;
  }
  const std::pair<const char*, const char*> kSame[] = {
      {"GENERAL ENG1 RPM", "GENERAL ENG RPM:1"}, {"general  eng3 rpm", "GENERAL ENG RPM:3"},
      {"TURB ENG1 N1", "TURB ENG N1:1"},          {"NAV2 ACTIVE FREQUENCY", "NAV ACTIVE FREQUENCY:2"},
      {"COM1 STANDBY FREQUENCY", "COM STANDBY FREQUENCY:1"}, {"ADF1 ACTIVE FREQUENCY", "ADF ACTIVE FREQUENCY:1"},
      {"GENERAL ENG1 GENERATOR SWITCH", "GENERAL ENG GENERATOR SWITCH:1"}, {"TRANSPONDER1 CODE", "TRANSPONDER CODE:1"},
  };
  for (const auto& [numbered, indexed] : kSame) {
    const VariableName name = *parseVariableName(std::string("A:") + indexed);
    EXPECT_EQ(aircraft.bind('A', numbered, 0), aircraft.bind('A', name.name, name.index)) << numbered;
  }
  EXPECT_GT(numberedNames().size(), 400u);
}

// The event's value for an effect, so that what it sets is a value the
// variable's unit can hold.
double valueFor(const EventEffect& effect) {
  if (effect.action == EffectAction::kMagneto) return 2;
  switch (effect.target.variable->documented->encoding) {
    case Encoding::kBcd16: return 0x1350;
    case Encoding::kBcd32: return 0x13350000;
    case Encoding::kAdfBcd32: return 0x02150000;
    case Encoding::kAdfBcd16: return 0x0215;
    case Encoding::kBco16: return 0x4567;
    case Encoding::kLinear: break;
  }
  return effect.target.from == EffectTarget::Index::kEventValue ? 1 : 3;
}

struct EffectCheck {
  SimulatedAircraft& aircraft;
  const EventEffect& effect;
  double eventValue;
  int index;

  int indexOf(const EffectTarget& target) const {
    return target.from == EffectTarget::Index::kFixed        ? target.index
           : target.from == EffectTarget::Index::kEventValue ? static_cast<int>(eventValue)
                                                             : 1;  // the one engine
  }
  int slot(const EffectTarget& target) {
    return aircraft.bind(target.variable->kind, target.variable->name, indexOf(target));
  }
  const Unit& unit() const { return effect.unit != nullptr ? *effect.unit : *effect.target.variable->documented; }
  double inUnit(int at) { return aircraft.unitRead(at, unit()).conversion.apply(aircraft.get(at)); }
  double endValue(const EffectValue& value) {
    if (value.from == EffectValue::From::kVariable) {
      const int at = aircraft.bind('A', value.variable.variable->name, value.variable.variable->indexed ? 1 : 0);
      return aircraft.unitRead(at, *value.variable.variable->documented).conversion.apply(aircraft.get(at)) *
             value.scale;
    }
    return value.from == EffectValue::From::kConstant ? value.constant : (eventValue + value.add) * value.scale;
  }
};

// Each effect is checked on an aircraft of its own, at rest, against what
// the table's words say it does.
TEST(AircraftTables, EveryEventAppliesWhatTheTableSays) {
  int checked = 0;
  for (const TableEvent& event : tableEvents()) {
    for (const EventEffect& effect : event.effects) {
      if (effect.action == EffectAction::kFollow || effect.unlessVariable != nullptr) continue;
      SimulatedAircraft aircraft;
      EffectCheck check{aircraft, effect, effect.action == EffectAction::kWindow ? 10 : valueFor(effect), 0};
      if (effect.action == EffectAction::kWindow) {
        aircraft.send(event.name, check.eventValue);
        const std::vector<WindowRequest> requests = aircraft.takeWindowRequests();
        ASSERT_EQ(requests.size(), 1u) << event.name;
        EXPECT_EQ(requests[0].number, effect.windowOrder != 0 ? effect.windowOrder : 10) << event.name;
        ++checked;
        continue;
      }
      const std::string where = event.name + ": " + effect.target.variable->name;
      const int target = check.slot(effect.target);
      const double before = check.inUnit(target);
      const int other = effect.action == EffectAction::kSwap ? check.slot(effect.other) : target;
      const double otherBefore = aircraft.get(other);
      const double targetHeld = aircraft.get(target);
      aircraft.send(event.name, check.eventValue);
      if (&effect != &event.effects.back() && effect.action != EffectAction::kSwap) {
        bool touchedLater = false;
        for (const EventEffect* later = &effect + 1; later <= &event.effects.back(); ++later) {
          touchedLater = touchedLater || later->target.variable == effect.target.variable;
        }
        if (touchedLater) continue;
      }
      const double after = check.inUnit(target);
      switch (effect.action) {
        case EffectAction::kToggle: EXPECT_NE(after != 0.0, before != 0.0) << where; break;
        case EffectAction::kSet: {
          double expected = check.endValue(effect.value);
          if (effect.value.nearestDetent) expected = std::round(expected / 100 * 3);  // three detents at rest
          if (effect.bound.given) {
            expected = std::fmin(std::fmax(expected, check.endValue(effect.bound.low)), check.endValue(effect.bound.high));
          }
          if (effect.target.variable->documented->boolean()) expected = expected != 0.0;
          EXPECT_TRUE(near(after, expected)) << where;
          break;
        }
        case EffectAction::kStep:
          if (effect.bound.given && !effect.bound.wrap) {
            const double expected = std::fmin(std::fmax(before + effect.step, check.endValue(effect.bound.low)),
                                              check.endValue(effect.bound.high));
            EXPECT_TRUE(near(after, expected)) << where;
          } else if (!effect.bound.given && effect.wrapWithin == 0.0 && !effect.octalCarry) {
            EXPECT_TRUE(near(after, before + effect.step)) << where;
          } else {
            EXPECT_NE(after, before) << where;
          }
          break;
        case EffectAction::kDigitStep: EXPECT_NE(after, before) << where; break;
        case EffectAction::kSwap:
          EXPECT_EQ(aircraft.get(target), otherBefore) << where;
          EXPECT_EQ(aircraft.get(other), targetHeld) << where;
          break;
        case EffectAction::kMagneto:
        case EffectAction::kMagnetoStep: {
          const int position = effect.action == EffectAction::kMagnetoStep ? (effect.step > 0 ? 1 : 0)
                               : effect.position >= 0                       ? effect.position
                                                                            : 2;
          const int engine = check.indexOf(effect.target);
          const auto read = [&](const char* name) { return aircraft.read({'A', name, engine, "bool", false}); };
          EXPECT_EQ(read("RECIP ENG LEFT MAGNETO"), position >= 2) << where;
          EXPECT_EQ(read("RECIP ENG RIGHT MAGNETO"), position == 1 || position >= 3) << where;
          EXPECT_EQ(read("GENERAL ENG STARTER"), position == 4) << where;
          break;
        }
        case EffectAction::kFollow:
        case EffectAction::kWindow: break;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 700);
}

TEST(AircraftTables, RadiosReadInEveryUnitOfFrequency) {
  ScriptFixture fixture;
  expectReads(fixture, {
           {"", 0, "(A:NAV ACTIVE FREQUENCY:1, MHz)", 110.5},
           {"", 0, "(A:NAV1 ACTIVE FREQUENCY, KHz)", 110500},
           {"", 0, "(A:NAV ACTIVE FREQUENCY:1, frequency bcd16)", 0x1050},
           {"", 0, "(A:Nav1 Active Frequency,MHz)", 110.5},
           {"", 0, "(A:COM1 ACTIVE FREQUENCY, frequency bcd16)", 0x2280},
           {"", 0, "(A:COM ACTIVE FREQUENCY:1, megahertz)", 122.8},
           {"", 0, "(A:COM STANDBY FREQUENCY:1, hertz)", 121.5e6},
           {"", 0, "(A:ADF ACTIVE FREQUENCY:1, KHz)", 344}, {"", 0, "(A:NAV2 ACTIVE FREQUENCY, MHz)", 0},
           {"", 0, "(A:ADF FREQUENCY:1, KHz)", 344}, {"", 0, "(A:ADF1 FREQUENCY, frequency bcd16)", 0x0344},
           {"", 0, "(A:TRANSPONDER CODE:1, bco16)", 0x1200},
           {"COM_RADIO_SET", 0x3325, "(A:COM ACTIVE FREQUENCY:1, MHz)", 133.25},
           {"COM_RADIO_FRACT_INC", 0, "(A:COM STANDBY FREQUENCY:1, KHz)", 121525},
           {"COM_STBY_RADIO_SWAP", 0, "(A:COM ACTIVE FREQUENCY:1, frequency bcd16)", 0x2152},
           {"NAV1_RADIO_WHOLE_DEC", 0, "(A:NAV STANDBY FREQUENCY:1, MHz)", 112.9},
           {"XPNDR_1000_INC", 0, "(A:TRANSPONDER CODE:1, bco16)", 0x2200},
           {"XPNDR_INC_CARRY", 0, "(A:TRANSPONDER1 CODE, bco16)", 0x2201},
           {"ADF_100_INC", 0, "(A:ADF1 ACTIVE FREQUENCY, kilohertz)", 444},
           {"ADF1_RADIO_TENTHS_DEC", 0, "(A:ADF1 ACTIVE FREQUENCY, kilohertz)", 444.9},
       });
  EXPECT_EQ(fixture.told(), "");
}

TEST(AircraftTables, EventsScaleTheirValues) {
  ScriptFixture fixture;
  expectReads(fixture, {
           {"MIXTURE1_SET", 8192, "(A:GENERAL ENG MIXTURE LEVER POSITION:1, percent)", 50},
           {"THROTTLE_SET", 16384, "(A:GENERAL ENG1 THROTTLE LEVER POSITION, percent over 100)", 1},
           {"AXIS_MIXTURE_SET", -16384, "(A:GENERAL ENG MIXTURE LEVER POSITION:1, percent)", 0},
           {"AXIS_PROPELLER_SET", 0, "(A:GENERAL ENG PROPELLER LEVER POSITION:1, percent)", 50},
           {"KOHLSMAN_SET", 16212, "(A:KOHLSMAN SETTING MB, millibars)", 1013.25},
           {"KOHLSMAN_INC", 0, "(A:KOHLSMAN SETTING HG, millibars)", 1014.25},
           {"FLAPS_SET", 16383, "(A:FLAPS HANDLE INDEX, number)", 3},
           {"MAGNETO1_BOTH", 0, "(A:RECIP ENG1 LEFT MAGNETO, bool) (A:RECIP ENG RIGHT MAGNETO:1, bool) +", 2},
           {"HEADING_BUG_DEC", 0, "(A:AUTOPILOT HEADING LOCK DIR, degrees)", 359},
           {"THROTTLE_DECR", 0, "(A:GENERAL ENG THROTTLE LEVER POSITION:1, percent)", 95},
       });
}

// Without a unit an A: variable reads 0; in a unit of another group, its
// value in its own base unit, taken as the other group's base.
TEST(AircraftTables, ReadsWithoutAUnitOrInAnotherGroup) {
  ScriptFixture fixture;
  fixture.aircraft.write(*parseVariableName("(A:INDICATED ALTITUDE, feet)"), 1000);
  EXPECT_EQ(fixture.run("(A:SIM ON GROUND)").number, 0);
  EXPECT_TRUE(near(fixture.run("(A:INDICATED ALTITUDE, kelvin)").number, 304.8));
  EXPECT_TRUE(near(fixture.run("(A:INDICATED ALTITUDE, celsius)").number, 304.8 - 273.15));
  EXPECT_TRUE(near(fixture.run("(E:LOCAL TIME)").number, 43200));
  EXPECT_EQ(fixture.findings.all().size(), 3u);
}

TEST(AircraftTables, AWindowEventOpensTheWindowOfItsIdent) {
  LocalVariables variables;
  SimulatedAircraft aircraft;
  const std::string gauge =
      "<Gauge Name=\"g\"><Mouse><Area Left=\"0\" Top=\"0\" Width=\"9\" Height=\"9\">"
      "<Click>20 (>K:PANEL_ID_TOGGLE)</Click></Area></Mouse></Gauge>";
  GaugePanel panel({{"Window00", "", "", true, 0, 0}, {"Window01", "10", "", false, 0, 0},
                    {"Window02", "20", "", false, 0, 0}},
                   {{"Window00", "cab!g", "g.xml", gauge, 1, 0, 0, 0, 0}}, variables, aircraft);
  ASSERT_TRUE(panel.click(0, {}, "LeftSingle").found);
  EXPECT_FALSE(panel.windowOpen(1));
  EXPECT_TRUE(panel.windowOpen(2));
  aircraft.send("PANEL_2", 0);  // by panel.cfg's order
  panel.runFrame(1.0 / 18);
  EXPECT_TRUE(panel.windowOpen(1));
}

TEST(NameTypos, ANameDifferingInCaseIsTheNearestTypo) {
  const std::vector<std::string> known{"cabin_chimes", "cabin_chime", "Cabin_Chime"};
  EXPECT_EQ(*probableTypoOf("Cabin_Chim", known), "Cabin_Chime");
  EXPECT_EQ(*probableTypoOf("cabin_chim", known), "cabin_chime");
  EXPECT_EQ(probableTypoOf("cabin_fan", known), nullptr);
}

}  // namespace
}  // namespace vorlanex::gauges
