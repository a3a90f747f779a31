#include "script_program.h"

#include <gtest/gtest.h>

#include <cmath>

#include "script_fixture.h"

namespace vorlanex::gauges {
namespace {

struct Case {
  const char* script;
  double result;
};

void expectResults(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    ScriptFixture fixture;
    const Value value = fixture.run(c.script);
    EXPECT_NEAR(value.number, c.result, 1e-9) << c.script;
    EXPECT_EQ(fixture.told(), "") << c.script;
  }
}

TEST(ScriptProgram, Arithmetic) {
  expectResults({
      {"1 2 +", 3}, {"5 7 -", -2}, {"3 4 *", 12}, {"7 2 /", 3.5}, {"7 3 %", 1}, {"-2.5 1.5 +", -1},
      {"4 ++", 5}, {"4 --", 3}, {"4 neg", -4}, {"4 /-/", -4}, {"7 2 div", 3}, {"-7 2 div", -3},
      {"3 sqr", 9}, {"16 sqrt", 4}, {"2 10 pow", 1024}, {"0 exp", 1}, {"1 ln", 0}, {"1000 lg", 3},
      {"8 2 log", 3}, {".5 2 *", 1},
  });
}

TEST(ScriptProgram, Comparisons) {
  expectResults({
      {"1 1 ==", 1}, {"1 2 ==", 0}, {"1 2 !=", 1}, {"2 1 >", 1}, {"1 2 <", 1}, {"2 2 >=", 1},
      {"3 2 <=", 0}, {"1 1 eq", 1}, {"1 2 ne", 1}, {"2 1 gt", 1}, {"2 1 lt", 0}, {"1 1 ge", 1},
      {"1 1 le", 1}, {"'ab' 'ab' ==", 1}, {"'ab' 'ac' ==", 0},
  });
}

TEST(ScriptProgram, LogicAndBits) {
  expectResults({
      {"0 !", 1}, {"2 not", 0}, {"1 2 &&", 1}, {"1 0 and", 0}, {"0 0 ||", 0}, {"0 3 or", 1},
      {"12 10 &", 8}, {"12 3 |", 15}, {"12 10 ^", 6}, {"0 ~", -1}, {"16 2 >>", 4}, {"1 4 <<", 16},
  });
}

TEST(ScriptProgram, ChoiceRangeAndCase) {
  expectResults({
      {"10 20 1 ?", 10}, {"10 20 0 ?", 20},
      {"15 10 20 rng", 1}, {"25 10 20 rng", 0}, {"15 20 10 rng", 1}, {"10 10 20 rng", 1},
      {"30 20 10 3 0 case", 10}, {"30 20 10 3 2 case", 30}, {"30 20 10 3 5 case", 0},
      {"7 30 20 10 3 1 case +", 27},
  });
}

TEST(ScriptProgram, Math) {
  expectResults({
      {"-3 abs", 3}, {"-2.7 int", -2}, {"-2.5 flr", -3}, {"2.1 ceil", 3}, {"2.5 near", 3},
      {"3 4 min", 3}, {"3 4 max", 4}, {"0 sin", 0}, {"0 cos", 1}, {"0 tg", 0}, {"pi 4 / ctg", 1},
      {"1 asin pi 2 / -", 0}, {"1 acos", 0}, {"1 atg pi 4 / -", 0}, {"1 1 atg2 pi 4 / -", 0},
      {"180 dgrd pi -", 0}, {"pi rddg", 180}, {"370 dnor", 10}, {"-90 d360", 270}, {"720 rdeg", 0},
      {"pi 3 * rnor pi -", 0}, {"1 eps", std::nextafter(1.0, 2.0) - 1.0},
  });
}

TEST(ScriptProgram, StackAndRegisters) {
  expectResults({
      {"3 d +", 6}, {"1 2 r -", 1}, {"1 2 p", 1}, {"1 2 c 5", 5}, {"5 6 7 2 b", 5}, {"5 6 0 b *", 36},
      {"4 s0 l0 +", 8}, {"4 sp1 l1 l1 *", 16}, {"9 s49 p l49", 9}, {"l3", 0},
  });
}

TEST(ScriptProgram, Flow) {
  expectResults({
      {"1 if{ 5 }", 5}, {"0 if{ 5 }", 0}, {"1 if{ 5 } els{ 6 }", 5}, {"0 if{ 5 } els{ 6 }", 6},
      {"1 if{ 0 if{ 2 } els{ 3 } } els{ 4 }", 3},
      {"0 if{ 1 }\nels{\n 2 }", 2},
      {"1 quit 2", 1},
      {"0 s0 :1 l0 ++ s0 5 < if{ g1 } l0", 5},
      {"g2 1 :2 7", 7},
  });
}

TEST(ScriptProgram, Texts) {
  struct TextCase {
    const char* script;
    const char* text;
  };
  for (const TextCase& c : std::initializer_list<TextCase>{
           {"'ab' 'cd' scat", "abcd"}, {"'abcdef' 2 4 ssub", "cd"}, {"'abc' 1 symb", "b"},
           {"65 chr", "A"}, {"'MiXed' lc", "mixed"}, {"'MiXed' uc", "MIXED"}, {"'word' cap", "Word"},
           {"'n' 2 scat", "n2"}, {"'a b'", "a b"}}) {
    ScriptFixture fixture;
    const Value value = fixture.run(c.script);
    EXPECT_TRUE(value.isText) << c.script;
    EXPECT_EQ(value.text, c.text) << c.script;
  }
  expectResults({
      {"'abc' 'abc' scmp", 0}, {"'abc' 'abd' scmp", -1}, {"'ABC' 'abc' scmi", 0},
      {"'abcd' 'cd' sstr", 2}, {"'abcd' 'x' sstr", -1}, {"'abcd' 'c' schr", 2}, {"'A' ord", 65},
      {"'12.5kg' 2 *", 25}, {"'kg' 1 +", 1},
  });
}

// Each word at operands where the word it could be mistaken for, or doing
// nothing, gives another result.
TEST(ScriptProgram, WordsToldApart) {
  expectResults({
      {"1 0 &&", 0}, {"1 0 ||", 1}, {"12 10 |", 14}, {"12 10 ^", 6}, {"2 1 ge", 1}, {"2 1 le", 0},
      {"1 sin", 0.8414709848078965}, {"1 tg", 1.5574077246549023}, {"100 ln", 4.605170185988092},
      {"100 lg", 2}, {"3 abs", 3}, {"-3 neg", 3}, {"2.7 flr", 2}, {"2.7 near", 3}, {"2.2 near", 2},
      {"1 0 atg2", 1.5707963267948966}, {"5 c", 0}, {"5 4 sp0", 5}, {"5 4 s0", 4}, {"5 g1 6 :1", 5},
      {"-7 3 %", -1}, {"7 -3 %", 1}, {"5.5 2 %", 1.5}, {"-5.5 2 %", -1.5},
      {"0x7F", 127}, {"0xFFFFFF", 16777215}, {"0X10 1 +", 17}, {"'abcd' slen", 4}, {"'' slen", 0},
  });
}

TEST(ScriptProgram, SharedAndGaugeVariables) {
  ScriptFixture fixture;
  fixture.run("5 (>L:fan, number) 3 (>G:Var2) (G:Var2) (L:fan,number) + (>L:sum, number)");
  EXPECT_EQ(fixture.shared.valueOf("fan"), 5);
  EXPECT_EQ(fixture.gaugeVariables[2], 3);
  EXPECT_EQ(fixture.shared.valueOf("sum"), 8);
  EXPECT_EQ(fixture.run("(L:fan, bool)").number, 1);
  EXPECT_EQ(fixture.run("(L:fan, enum)").number, 5);
  EXPECT_EQ(fixture.told(), "");
}

TEST(ScriptProgram, SharedWritesCarryTheirOwnLine) {
  ScriptFixture fixture;
  const Program program =
      compileScript("1 (>L:a, number)\n  2 (>L:b, number) ", {"cab!fan", "fan.xml", 7, ""}, fixture.context);
  runScript(program, fixture.context);
  const ScriptSite* a = fixture.shared.lastWriter("a");
  const ScriptSite* b = fixture.shared.lastWriter("b");
  ASSERT_TRUE(a != nullptr && b != nullptr);
  EXPECT_EQ(a->gauge, "cab!fan");
  EXPECT_EQ(a->line, 7);
  EXPECT_EQ(a->excerpt, "1 (>L:a, number)");
  EXPECT_EQ(b->line, 8);
  EXPECT_EQ(b->excerpt, "2 (>L:b, number)");
}

TEST(ScriptProgram, AircraftVariablesInTheUnitNamed) {
  ScriptFixture fixture;
  fixture.aircraft.set(fixture.aircraft.bind('A', "GENERAL ENG RPM", 1), 2200);
  EXPECT_EQ(fixture.run("(A:GENERAL ENG RPM:1, rpm)").number, 2200);
  EXPECT_EQ(fixture.run("(A:general eng  rpm:1,rpm)").number, 2200);
  EXPECT_EQ(fixture.run("(A:GENERAL ENG RPM:2, rpm)").number, 0);
  EXPECT_EQ(fixture.run("(A:SIM ON GROUND, bool)").number, 1);
  EXPECT_EQ(fixture.run("(A:GEAR CENTER POSITION, percent over 100)").number, 1);
  EXPECT_NEAR(fixture.run("(P:Local time, hours)").number, 12, 1e-9);
  EXPECT_EQ(fixture.told(), "");
}

}  // namespace
}  // namespace vorlanex::gauges
