#include "gauge_string.h"

#include <gtest/gtest.h>

#include "script_fixture.h"

namespace vorlanex::gauges {
namespace {

TEST(GaugeString, FormatsItsScriptsValues) {
  struct Case {
    const char* text;
    const char* shown;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"RPM %( 2200.7 )%!d!", "RPM 2201"}, {"%( 7 )%!02d!:%( 5 )%!02d!", "07:05"},
           {"%( 3.14159 )%!3.1f!", "3.1"}, {"%( -2 )%!5.2f!|", "-2.00|"}, {"%( 'abc' )%!s!", "abc"},
           {"%( 255 )%!X!", "FF"}, {"%( 1 )%!-3d!|", "1  |"}, {"100%%", "100%"},
           {"%( 1 )%{if}ON%{else}OFF%{end}", "ON"}, {"%( 0 )%{if}ON%{else}OFF%{end}", "OFF"},
           {"%( 0 )%{if}ON%{end}.", "."},
           {"%( 2 )%{case}%{:0}zero%{:1}one%{:2}two%{end}", "two"},
           {"%( 9 )%{case}%{:0}zero%{end}-", "-"},
           {"%( 1 )%{if}a%( 0 )%{if}b%{else}c%{end}d%{end}", "acd"},
           {"%( (L:x, number) 1 + (>L:x, number) )", ""},
           {"%( 0 )\n  %{if}ON%{else}OFF%{end}", "OFF"}, {"%( 7 ) %!02d!", "07"}, {"%( 7 )%!d! rpm", "7 rpm"},
           {"%( 1 )%!d!\n%{if}+%{end}", "1+"}, {"%( 2.5 )%!d!", "3"}, {"%( -2.5 )%!d!", "-3"}, {"%( 2.4 )%!d!", "2"},
           {"%( 5 )%{case}%{:0}zero%{else}other%{end}", "other"},
           {"%( 0 )%{case}%{:0}zero%{else}other%{end}", "zero"},
           {"%( 5 s1 p )%( l1 )%!d!", "5"}, {"%( 'x' 'AB' s1 p p )%( l1 )%!s!", "AB"},
           {"%( 'x' 'A' 'B' scat s1 p p )%( l1 )%!s!", "AB"},
           {"%( 0 s0 )\n%{loop}%( l0 )%!d!%( l0 ++ s0 3 < )%{next}.", "012."},
           {"%( 0 s0 )%{loop}%( l0 ++ s0 )%{if}%( l0 )%!d!%{end}%( l0 2 < )%{next}", "12"},
       }) {
    ScriptFixture fixture;
    const GaugeString text = compileGaugeString(c.text, {"", "s.xml", 1, ""}, fixture.context);
    EXPECT_EQ(formatGaugeString(text, fixture.context), c.shown) << c.text;
    EXPECT_EQ(fixture.told(), "") << c.text;
  }
}

TEST(GaugeString, ItsScriptsWriteWhenFormattedOnTheChosenBranchOnly) {
  ScriptFixture fixture;
  const GaugeString text = compileGaugeString(
      "%( (L:x, number) 1 + d (>L:x, number) 2 % )\n %{if}%( 1 (>L:odd, number) )%{else}%( 1 (>L:even, number) )%{end}",
      {"", "s.xml", 1, ""}, fixture.context);
  formatGaugeString(text, fixture.context);
  EXPECT_EQ(fixture.shared.valueOf("odd"), 1);
  EXPECT_EQ(fixture.shared.valueOf("even"), 0);
  for (int frame = 0; frame < 2; ++frame) formatGaugeString(text, fixture.context);
  EXPECT_EQ(fixture.shared.valueOf("x"), 3);
  EXPECT_EQ(fixture.shared.valueOf("even"), 1);
}

TEST(GaugeString, ALoopThatNeverEndsIsStoppedAndTold) {
  ScriptFixture fixture;
  const GaugeString text = compileGaugeString("<%{loop}%( (L:n, number) 1 + d (>L:n, number) )%{next}>",
                                              {"", "s.xml", 3, ""}, fixture.context);
  EXPECT_EQ(formatGaugeString(text, fixture.context), "<>");
  EXPECT_EQ(fixture.shared.valueOf("n"), 1000);
  EXPECT_EQ(fixture.told(), "3: the string's %{loop} ran 1000 times and was stopped (does its condition ever give 0?)\n");
}

TEST(GaugeString, FindingsStandAtTheirLine) {
  ScriptFixture fixture;
  const GaugeString text = compileGaugeString("A\n%( 1 0 / )%!q!\n%( 1 )%{if}x %{end}%{end} %( 2", {"", "s.xml", 5, ""},
                                              fixture.context);
  EXPECT_EQ(formatGaugeString(text, fixture.context), "A\n0\nx  ");
  EXPECT_EQ(fixture.told(),
            "6: unknown format '%!q!': the value is shown as by %!s!\n"
            "7: %{else}, %{end}, %{next} or %{:N} without its %{if}, %{case} or %{loop}: it is skipped\n"
            "7: %( without its closing ): the script runs to the string's end\n"
            "6: division by zero gives 0\n");
}

}  // namespace
}  // namespace vorlanex::gauges
