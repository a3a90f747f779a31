// The parsing kernel on its own; whole-file behaviour, quotes included, is in
// the contract suite, which runs these rules against Windows too.
#include "platform/portable/ini_text.h"

#include <gtest/gtest.h>

namespace {

using namespace vorlanex::platform;

TEST(FindProfileValue, TellsMissingFromEmptyAndLeavesQuotesToCaller) {
  struct {
    const char* text;
    const char* section;
    std::optional<std::string_view> expected;
  } cases[] = {
      {"[s]\nk=\n", "s", ""},
      {"[s]\nk\n", "s", std::nullopt},
      {"[s]\nk = 'v' \n", "s", "'v'"},
      {"[s]", "s", std::nullopt},
      {"", "s", std::nullopt},
      {"k=v\n[]\nk=w\n", "", "w"},  // "" is a section only after a header "[]"
  };
  for (const auto& c : cases)
    EXPECT_EQ(findProfileValue(c.text, c.section, "k"), c.expected) << c.text;
}

}  // namespace
