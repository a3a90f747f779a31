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

TEST(ProfileValueToInt, ReadsLeadingNumberLikeWindows) {
  struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"42", 42},
      {"-1", -1},
      {"+7", 7},
      {"42A9", 42},
      {"B42", 0},
      {"1.5", 1},
      {" \t\x01 12", 12},
      {"\xA0"
       "12",
       0},
      {"- 5", 0},
      {"-", 0},
      {"+-1", 0},
      {"0x1F", 31},
      {"0x1f", 31},
      {"0X1F", 0},
      {"0x", 0},
      {"0xg", 0},
      {"-0x10", -16},
      {"0o17", 15},
      {"0o8", 0},
      {"0b101", 5},
      {"0b2", 0},
      {"010", 10},
      {"09", 9},
      {"4294967297", 1},
      {"2147483648", INT32_MIN},
      {"0xffffffff", -1},
      {"-4294967295", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(profileValueToInt(c.value), c.expected) << c.value;
}

}  // namespace
