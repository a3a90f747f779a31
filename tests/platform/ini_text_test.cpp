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

TEST(ProfileLineReader, NumbersLinesAsAnEditorDoesAndSplitsKeysLikeTheLookup) {
  // CRLF, LF and CR line ends mixed; a CR CR LF is two line ends.
  ProfileLineReader lines(" [ Config ] x\r\n; note\nkey = a = b \rbare\r\r\n\nk=");
  struct Expected {
    ProfileLine::Kind kind;
    int number;
    const char* name;
    std::optional<std::string_view> value;
  } expected[] = {
      {ProfileLine::Kind::kSection, 1, "Config", std::nullopt},
      {ProfileLine::Kind::kComment, 2, "", std::nullopt},
      {ProfileLine::Kind::kKey, 3, "key", "a = b"},
      {ProfileLine::Kind::kKey, 4, "bare", std::nullopt},
      {ProfileLine::Kind::kBlank, 5, "", std::nullopt},
      {ProfileLine::Kind::kBlank, 6, "", std::nullopt},
      {ProfileLine::Kind::kKey, 7, "k", ""},
  };
  ProfileLine line;
  for (const Expected& e : expected) {
    ASSERT_TRUE(lines.next(line)) << e.number;
    EXPECT_EQ(line.kind, e.kind) << e.number;
    EXPECT_EQ(line.number, e.number);
    EXPECT_EQ(line.name, e.name) << e.number;
    EXPECT_EQ(line.value, e.value) << e.number;
  }
  EXPECT_FALSE(lines.next(line));
}

}  // namespace
