// reach's reading of a panel before it searches: the values a compared
// variable is moved to, and the conditions its sounds' writes stand under.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reach_moves.h"
#include "script_facts.h"
#include "shared_variables.h"

namespace vorlanex::tool {
namespace {

TEST(ReachValues, EachConstantItsNeighboursAndTheRestValueWithinTheRange) {
  struct Case {
    std::vector<double> constants;
    double rest, low, high;
    std::vector<double> wanted;
  } cases[] = {
      {{0.0}, 0.0, 0.0, 100.0, {0.0, 1.0}},              // no -1 % below 0 %
      {{50.0}, 0.0, -1e9, 1e9, {0.0, 49.5, 50.0, 50.5}},
      {{100.0, 0.0}, 0.0, 0.0, 100.0, {0.0, 1.0, 99.0, 100.0}},  // nor above 100 %
      {{-20.0}, 5.0, -1e9, 1e9, {-20.2, -20.0, -19.8, 5.0}},
  };
  for (const Case& c : cases) {
    const std::vector<double> values = valuesThatMatter(c.constants, c.rest, c.low, c.high);
    ASSERT_EQ(values.size(), c.wanted.size());
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_DOUBLE_EQ(values[i], c.wanted[i]);
  }
}

TEST(ReachFacts, ComparedNumbersWritesUnderTheirConditionsAndEvents) {
  const std::string xml = R"(<Gauge Name="g" Version="1.0">
  <Update>(A:GENERAL ENG RPM:1, rpm) 1200 &gt; s0
    l0 if{ 2 (&gt;L:loop, number) } els{ 0 (&gt;L:loop, number) }
    10 (A:AIRSPEED INDICATED, knots) &lt; (A:FLAPS HANDLE INDEX, number) 2 == and
    if{ 1 (&gt;L:warn, number) (&gt;K:GEAR_DOWN) 10250 (&gt;K:PANEL_ID_OPEN) }
    1 (&gt;L:always, number)</Update>
  <Mouse><Click Event="TOGGLE_MASTER_BATTERY">1 (&gt;L:press, number)</Click></Mouse>
</Gauge>)";
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::GaugePanel panel({{"Window00", "", ""}}, {{"Window00", "X!g", "g.xml", xml, 1}}, shared, aircraft);
  const ScriptFacts facts = readScriptFacts(panel);

  EXPECT_EQ(facts.comparedWith.at("(A:GENERAL ENG RPM:1, rpm)"), (std::set<double>{1200.0}));
  EXPECT_EQ(facts.comparedWith.at("(A:AIRSPEED INDICATED, knots)"), (std::set<double>{10.0}));
  EXPECT_EQ(facts.comparedWith.at("(A:FLAPS HANDLE INDEX, number)"), (std::set<double>{2.0}));
  EXPECT_EQ(facts.events, (std::map<std::string, std::set<double>>{{"GEAR_DOWN", {0.0}},
                                                                    {"PANEL_ID_OPEN", {10250.0}},
                                                                    {"TOGGLE_MASTER_BATTERY", {0.0}}}));

  struct Want {
    const char* variable;
    std::size_t write;
    const char* condition;
    int conditionLine;
    bool inClick;
  } wants[] = {
      {"loop", 0, "(A:GENERAL ENG RPM:1, rpm) 1200 > s0 l0", 2, false},
      {"loop", 1, "not ((A:GENERAL ENG RPM:1, rpm) 1200 > s0 l0)", 2, false},
      {"warn", 0, "10 (A:AIRSPEED INDICATED, knots) < (A:FLAPS HANDLE INDEX, number) 2 == and", 4, false},
      {"always", 0, "", 0, false},
      {"press", 0, "", 0, true},
  };
  for (const Want& want : wants) {
    SCOPED_TRACE(want.variable);
    const VariableWriteSite& site = facts.writes.at(want.variable).at(want.write);
    EXPECT_EQ(site.condition, want.condition);
    EXPECT_EQ(site.conditionLine, want.conditionLine);
    EXPECT_EQ(site.inClick, want.inClick);
  }
}

}  // namespace
}  // namespace vorlanex::tool
