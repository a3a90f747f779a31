// The run script language: what each line means, and what an error says.
#include <gtest/gtest.h>

#include "script_parser.h"
#include "script_variables.h"

namespace vorlanex::tool {
namespace {

TEST(Script, ReadsEveryCommandWithItsTimeAndLine) {
  const Script script = parseScript("s.txt",
                                    "# a comment, then a blank line\n"
                                    "\n"
                                    "at 1.5 set zeb_xml_id_03 1   # play once\n"
                                    "expect zeb_xml_id_03 -500002\n"
                                    "wait 0.25\n"
                                    "AT 2 wait until cabin_chime 0 within 3\r\n"
                                    "sound off\n"
                                    "sound on\n"
                                    "unload global.dll\n"
                                    "at 4 load GLOBAL.DLL");
  struct Expected {
    int line;
    double at;
    Action action;
    const char* variable;
    double value;
    double seconds;
  } expected[] = {
      {3, 1.5, Action::kSet, "zeb_xml_id_03", 1, 0},
      {4, Step::kRightAfter, Action::kExpect, "zeb_xml_id_03", -500002, 0},
      {5, Step::kRightAfter, Action::kWait, "", 0, 0.25},
      {6, 2, Action::kWaitUntil, "cabin_chime", 0, 3},
      {7, Step::kRightAfter, Action::kSoundOff, "", 0, 0},
      {8, Step::kRightAfter, Action::kSoundOn, "", 0, 0},
      {9, Step::kRightAfter, Action::kUnloadGlobal, "", 0, 0},
      {10, 4, Action::kLoadGlobal, "", 0, 0},
  };
  ASSERT_EQ(script.steps.size(), std::size(expected));
  for (std::size_t i = 0; i < script.steps.size(); ++i) {
    const Step& s = script.steps[i];
    const Expected& e = expected[i];
    EXPECT_EQ(s.line, e.line);
    EXPECT_EQ(s.at, e.at) << e.line;
    EXPECT_EQ(s.action, e.action) << e.line;
    EXPECT_EQ(s.variable.name.name, e.variable) << e.line;
    EXPECT_EQ(s.value, e.value) << e.line;
    EXPECT_EQ(s.seconds, e.seconds) << e.line;
  }
  EXPECT_EQ(longestDuration(script), 2 + 3);
}

TEST(Script, AnErrorNamesTheLineAndWhatWasExpected) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"play x 1", "s.txt:1: expected a command (set, expect, wait, ramp, click, event, open, "
                   "close, sound, load, unload), found 'play'"},
      {"\n\nset", "s.txt:3: expected a variable name after 'set'"},
      {"set x", "s.txt:1: expected a number after 'set x'"},
      {"set x one", "s.txt:1: expected a number after 'set x', found 'one'"},
      {"set x 1 2", "s.txt:1: unexpected '2' after 'set x 1'"},
      {"at", "s.txt:1: expected a time in seconds after 'at'"},
      {"at soon set x 1", "s.txt:1: expected a time in seconds after 'at', found 'soon'"},
      {"at -1 set x 1", "s.txt:1: expected a time in seconds, 0 or more, after 'at'"},
      {"at 1.5", "s.txt:1: expected a command (set, expect, wait, ramp, click, event, open, close, "
                 "sound, load, unload) after 'at 1.5'"},
      {"at 2 set x 1\nat 1 set x 0", "s.txt:2: 'at 1' goes back in time: an earlier line runs at "
                                     "2 s"},
      {"wait until x 1", "s.txt:1: expected 'within' after 'wait until x 1'"},
      {"wait until x 1 within", "s.txt:1: expected a time in seconds after 'wait until x 1 "
                                "within'"},
      {"sound loud", "s.txt:1: expected 'on' or 'off' after 'sound'"},
      {"load SOUND.DLL", "s.txt:1: expected 'GLOBAL.DLL' after 'load'"},
  };
  for (const Case& c : cases) {
    try {
      parseScript("s.txt", c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const ScriptError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// A step naming a variable the module does not use is reported once, at its
// first line, with a "did you mean" when it is a probable typo.
TEST(Script, NamesVariablesTheModuleDoesNotUse) {
  const Script script = parseScript("t.txt",
                                    "set Cabin_Chime 1\n"
                                    "expect cabin_chime 0\n"
                                    "wait until Cabin_Chime 0 within 1\n"
                                    "expect zeb_volume_playd 100\n"
                                    "set my_flag 1\n"
                                    "expect zeb_sound_indicator 1\n"
                                    "expect Cabin_Chime 0\n");
  std::vector<std::string> found;
  for (const Problem& p : unknownScriptVariables(
           script, {"cabin_chime", "cabin_quiet", "zeb_volume_played", "zeb_sound_indicator"})) {
    found.push_back(formatProblem(p));
  }
  const std::string unused = "is no variable of the module: nothing but this script reads or "
                             "writes it";
  EXPECT_EQ(found, (std::vector<std::string>{
      "t.txt:1: warning: 'Cabin_Chime' " + unused + " (also on lines 3, 7): did you mean "
      "'cabin_chime'?",
      "t.txt:4: warning: 'zeb_volume_playd' " + unused + ": did you mean 'zeb_volume_played'?",
      "t.txt:5: warning: 'my_flag' " + unused,
  }));
}

}  // namespace
}  // namespace vorlanex::tool
