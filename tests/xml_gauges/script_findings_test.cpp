// What the simulator runs without a word becomes a finding at its line.
#include <gtest/gtest.h>

#include "script_fixture.h"

namespace vorlanex::gauges {
namespace {

struct Case {
  const char* script;
  double result;
  const char* told;
};

TEST(ScriptFindings, ToleratedAndTold) {
  for (const Case& c : std::initializer_list<Case>{
           {"+", 0, "1: popping an empty stack: 0 is read\n"},
           {"1 0 /", 0, "1: division by zero gives 0\n"},
           {"5 0 %", 0, "1: division by zero gives 0\n"},
           {"5 0 div 2 +", 2, "1: division by zero gives 0\n"},
           {"1 foo 2 +", 3, "1: unknown word 'foo'\n"},
           {"1 s50", 1, "1: unknown word 's50'\n"},
           {"1 &amp;&amp; 1", 1, "1: unknown word '&amp;&amp;' (an XML escape written twice?)\n"},
           {"@Volume 2", 2, "1: macro '@Volume' is not defined\n"},
           {"(>L:@fan, number)", 0, "1: macro '@fan' is not defined\n"},
           {"1 if{ 2", 2, "1: if{ without its closing }: it closes at the script's end\n"},
           {"0 if{ 1 } els{ 2", 2, "1: els{ without its closing }: it closes at the script's end\n"},
           {"1 } 2", 2, "1: } without an if{ or els{ to close: it is skipped\n"},
           {"els{ 3 }", 3,
            "1: els{ without an if{ } before it: the word is skipped\n"
            "1: } without an if{ or els{ to close: it is skipped\n"},
           {"1 g7", 1, "1: g7 jumps to the label :7, which is not there: the jump does nothing\n"},
           {":1 g1", 0, "1: the script ran too many steps (an endless loop?) and was stopped\n"},
           {"1 (>A:GENERAL ENG RPM:1, rpm) 2", 2,
            "1: (>A:GENERAL ENG RPM:1, rpm): gauges cannot write simulator variables; the value is dropped\n"},
           {"(>P:Local time, hours)", 0,
            "1: (>P:Local time, hours): gauges cannot write simulator variables; the value is dropped\n"},
           {"(>M:X)", 0, "1: (>M:X): gauges cannot write mouse variables; the value is dropped\n"},
           {"(A:SIM ON GROUND, furlongs)", 1,
            "1: unknown unit 'furlongs' in (A:SIM ON GROUND, furlongs): the number is read as held, in bool\n"},
           {"(A:EXIT OPEN:0, feet)", 0,
            "1: unit 'feet' is no unit of (A:EXIT OPEN:0, feet), held in percent over 100: the simulator reads its "
            "value in its own base unit as if in the base unit of 'foot'\n"},
           {"(G:Var12)", 0, "1: unknown gauge variable (G:Var12): G:Var1 to G:Var9 are known\n"},
           {"(A:GENERAL ENG RMP:1, rpm)", 0,
            "1: unknown simulator variable (A:GENERAL ENG RMP:1, rpm): it reads 0; did you mean 'GENERAL ENG RPM'?\n"},
           {"(A:SIM ON GROUND)", 0,
            "1: (A:SIM ON GROUND) has no unit: the simulator reads an A: variable without one as 0; name its unit "
            "(bool)\n"},
           {"(A:ACCELERATION BODY X, feet per second squared) (A:ACCELERATION BODY X, meters per second squared)", 0,
            "1: (A:ACCELERATION BODY X, feet per second squared): FS2004 does not have this variable (later "
            "simulators do); here it reads its rest value\n"},
           {"(>K:TOGGLE_WING_FOLD) (>K:toggle_wing_fold)", 0,
            "1: event 'TOGGLE_WING_FOLD' is not simulated: it is sent, and the aircraft's variables stay as they are\n"},
           {"(>K:TOGGLE_MASTER_BATERY)", 0,
            "1: unknown event 'TOGGLE_MASTER_BATERY': the simulator has no such event; did you mean "
            "'TOGGLE_MASTER_BATTERY'?\n"},
           {"'abc", 0, "1: a text without its closing quote runs to the script's end\n"},
       }) {
    ScriptFixture fixture;
    EXPECT_EQ(fixture.run(c.script).number, c.result) << c.script;
    EXPECT_EQ(fixture.told(), c.told) << c.script;
  }
}

TEST(ScriptFindings, CAndRVariablesToldOnceWithTheirCount) {
  ScriptFixture fixture;
  EXPECT_EQ(fixture.run("(C:fs9gps:a) 1 +\n(R:Title) (>C:fs9gps:c) (C:fs9gps:b) +").number, 1);
  EXPECT_EQ(fixture.told(),
            "1: C: variables are not simulated (reads give 0, writes are dropped): 3 uses in this "
            "gauge, the first here\n"
            "2: R: strings are not simulated (reads give 0, writes are dropped): 1 use in this "
            "gauge, here\n");
}

TEST(ScriptFindings, StandAtTheLineOfTheirToken) {
  ScriptFixture fixture;
  fixture.run("1\n  (L:a, number)\n  0 /  ", 10);
  ASSERT_EQ(fixture.findings.all().size(), 1u);
  const ScriptSite& site = fixture.findings.all()[0].site;
  EXPECT_EQ(site.line, 12);
  EXPECT_EQ(site.excerpt, "0 /");
  EXPECT_EQ(site.file, "test.xml");
  EXPECT_EQ(site.gauge, "test!gauge");
}

TEST(ScriptFindings, ARunToldOnceHowOftenItRuns) {
  ScriptFixture fixture;
  const Program program = compileScript("1 0 /", {"", "a.xml", 1, ""}, fixture.context);
  for (int frame = 0; frame < 3; ++frame) runScript(program, fixture.context);
  EXPECT_EQ(fixture.findings.all().size(), 1u);
}

// 1 to 40 pushed onto a stack of 30: 1 to 10 dropped from the bottom.
TEST(ScriptFindings, APushOntoTheFullStackDropsItsBottom) {
  ScriptFixture fixture;
  std::string pushes;
  for (int i = 1; i <= 40; ++i) pushes += std::to_string(i) + " ";
  EXPECT_EQ(fixture.run(pushes + "28 b").number, 12);  // pushing 28 drops 11 too
  EXPECT_EQ(fixture.run(pushes + "p p p p p p p p p p p p p p p p p p p p p p p p p p p p p").number, 11);
  EXPECT_EQ(fixture.told(), "1: a push onto the full stack (30 values) drops its bottom value\n");
}

TEST(ScriptFindings, DeepNestingAndHugeTextsEndWell) {
  ScriptFixture fixture;
  std::string script;
  for (int i = 0; i < 100000; ++i) script += "1 if{ ";
  EXPECT_EQ(fixture.run(script + "7").number, 7);
  EXPECT_EQ(fixture.run(":1 'abcdefghijklmnopqrstuvwxyz' d scat d scat g1").number, 0);
  EXPECT_NE(fixture.told().find("the script's texts outgrew their room"), std::string::npos);
}

}  // namespace
}  // namespace vorlanex::gauges
