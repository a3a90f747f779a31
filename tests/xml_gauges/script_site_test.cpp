#include "script_site.h"

#include <gtest/gtest.h>

namespace vorlanex::gauges {
namespace {

TEST(Findings, TellsEachFindingOfALineOnce) {
  Findings findings;
  const ScriptSite site{"a!b", "a.xml", 3, "1 0 /"};
  EXPECT_TRUE(findings.add(site, "division by zero"));
  EXPECT_FALSE(findings.add(site, "division by zero"));
  EXPECT_TRUE(findings.add(site, "unknown word 'x'"));
  EXPECT_TRUE(findings.add({"a!b", "a.xml", 4, ""}, "division by zero"));
  EXPECT_EQ(findings.all().size(), 3u);
}

// Each gauge file hears of a kind once, counted over the first gauge line
// that loads it; another line loading the same file adds nothing.
TEST(Findings, TellsWhatIsNotSimulatedOncePerGaugeAndKindWithItsUses) {
  Findings findings;
  for (int line : {7, 9, 9}) {
    findings.addUnsimulated({"gps!map", "map.xml", line, "x"}, "C: variables", "0");
  }
  findings.addUnsimulated({"gps!map", "map.xml", 8, ""}, "R: strings", "0");
  findings.addUnsimulated({"gps!map2", "map.xml", 7, ""}, "C: variables", "0");
  findings.addUnsimulated({"gps!nav", "nav.xml", 2, ""}, "C: variables", "0");
  ASSERT_EQ(findings.all().size(), 3u);
  EXPECT_EQ(findings.all()[0].site.line, 7);
  EXPECT_EQ(findings.all()[0].message,
            "C: variables are not simulated (0): 3 uses in this gauge, the first here");
  EXPECT_EQ(findings.all()[1].message,
            "R: strings are not simulated (0): 1 use in this gauge, here");
  EXPECT_EQ(findings.all()[2].site.file, "nav.xml");
}

TEST(Findings, AreOneLineEach) {
  Findings findings;
  findings.add({"", "a.xml", 1, ""}, "unknown unit 'x\r\ny'");
  EXPECT_EQ(findings.all()[0].message, "unknown unit 'x  y'");
}

}  // namespace
}  // namespace vorlanex::gauges
