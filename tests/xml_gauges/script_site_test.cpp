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

}  // namespace
}  // namespace vorlanex::gauges
