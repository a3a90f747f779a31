// The run script language: what each line means, and what an error says.
#include <gtest/gtest.h>

#include <tuple>

#include "script_parser.h"
#include "script_variables.h"

namespace vorlanex::tool {
namespace {

// A script that cannot be read, and the error it must give.
struct ErrorCase {
  const char* text;
  const char* message;
};

template <std::size_t N>
void expectErrors(const ErrorCase (&cases)[N]) {
  for (const ErrorCase& c : cases) {
    try {
      parseScript("s.txt", c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const ScriptError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

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
  const ErrorCase cases[] = {
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
  expectErrors(cases);
}

// The steps that reach the panel's gauges and the simulated aircraft.
TEST(Script, ReadsTheStepsOfThePanel) {
  using By = gauges::AreaChoice::By;
  struct Expected {
    const char* line;
    Action action;
    char kind;            // of the variable
    const char* name;     // the variable's, or the target's
    double value;
    By by;
    const char* detail;   // unit, tooltip or mouse kind
  } cases[] = {
      {"set (A:GENERAL ENG RPM:1, rpm) 2200", Action::kSet, 'A', "GENERAL ENG RPM", 2200, By::kOnly, "rpm"},
      {"set (L:cabin_fan, number) 2", Action::kSet, 'L', "cabin_fan", 2, By::kOnly, "number"},
      {"expect (P:Absolute time,seconds) 3", Action::kExpect, 'E', "Absolute time", 3, By::kOnly, "seconds"},
      {"wait until (E:SIM ON GROUND, bool) 1 within 2", Action::kWaitUntil, 'E', "SIM ON GROUND", 1, By::kOnly, "bool"},
      {"ramp (A:GENERAL ENG RPM:1, rpm) to 2400 over 10", Action::kRamp, 'A', "GENERAL ENG RPM", 2400, By::kOnly, "rpm"},
      {"ramp cabin_fan to -1 over 0", Action::kRamp, 'L', "cabin_fan", -1, By::kOnly, ""},
      {"click Cabin!chime_button", Action::kClick, 'L', "Cabin!chime_button", 0, By::kOnly, ""},
      {"click Cabin!chime_button \"Chime # \\\"2\\\"\" as Leave", Action::kClick, 'L', "Cabin!chime_button", 0, By::kTooltip, "Chime # \"2\""},
      {"click Window02/Cabin!chime_button #2  # the second area", Action::kClick, 'L', "Window02/Cabin!chime_button", 2, By::kNumber, ""},
      // A gauge's name holds blanks bare up to what ends it, or whole in quotes.
      {"click My Gauges!door  handle \"Open\" as Leave", Action::kClick, 'L', "My Gauges!door handle", 0, By::kTooltip, "Open"},
      {"click \"GPS!map at night\" #2", Action::kClick, 'L', "GPS!map at night", 2, By::kNumber, ""},
      {"CLICK Cabin!chime_button AT 12, 30.5 AS RightSingle", Action::kClick, 'L', "Cabin!chime_button", 12, By::kPoint, "RightSingle"},
      {"event TOGGLE_MASTER_BATTERY", Action::kEvent, 'L', "TOGGLE_MASTER_BATTERY", 0, By::kOnly, ""},
      {"event KOHLSMAN_SET 2992", Action::kEvent, 'L', "KOHLSMAN_SET", 2992, By::kOnly, ""},
      {"open Window02", Action::kOpenWindow, 'L', "Window02", 0, By::kOnly, ""},
      {"close 10101", Action::kCloseWindow, 'L', "10101", 0, By::kOnly, ""},
  };
  for (const Expected& e : cases) {
    const Script script = parseScript("s.txt", e.line);
    ASSERT_EQ(script.steps.size(), 1u) << e.line;
    const Step& s = script.steps[0];
    EXPECT_EQ(s.action, e.action) << e.line;
    const bool named = e.action == Action::kClick || e.action == Action::kEvent ||
                       e.action == Action::kOpenWindow || e.action == Action::kCloseWindow;
    EXPECT_EQ(named ? s.target : s.variable.name.name, e.name) << e.line;
    EXPECT_EQ(s.variable.name.kind, e.kind) << e.line;
    EXPECT_EQ(s.area.by, e.by) << e.line;
    const double value = s.area.by == By::kNumber ? s.area.number
                         : s.area.by == By::kPoint ? s.area.x : s.value;
    EXPECT_EQ(value, e.value) << e.line;
    const std::string detail = s.area.by == By::kTooltip ? s.area.tooltip
                               : e.action == Action::kClick ? s.mouseKind : s.variable.name.unit;
    EXPECT_EQ(detail, e.detail) << e.line;
  }
  EXPECT_EQ(parseScript("s.txt", "ramp x to 1 over 5\nwait 2").steps.size(), 2u);
  EXPECT_EQ(longestDuration(parseScript("s.txt", "ramp x to 1 over 5\nwait 2")), 5);
  EXPECT_EQ(parseScript("s.txt", "click A!b at 1,2").steps[0].area.y, 2);
  // Outside a click "#2" starts a comment, as '#' always did.
  EXPECT_EQ(parseScript("s.txt", "set x 1 #2").steps[0].value, 1);
}

TEST(Script, APanelStepThatCannotBeReadNamesItsLineAndWhatIsWrong) {
  const ErrorCase cases[] = {
      {"set (K:TOGGLE_MASTER_BATTERY) 1",
       "s.txt:1: '(K:TOGGLE_MASTER_BATTERY)' is an event: send it with 'event "
       "TOGGLE_MASTER_BATTERY'"},
      {"set (G:Var1) 1", "s.txt:1: '(G:Var1)' belongs to one gauge: a script names L:, A:, E: or "
                         "P: variables"},
      {"expect (M:Event) 1", "s.txt:1: '(M:Event)' is no variable a script can name: it names L:, "
                             "A:, E: or P: variables"},
      {"set (>L:x, number) 1", "s.txt:1: '(>L:x, number)' is a gauge's write: name the variable "
                               "without '>'"},
      {"set (Q:x) 1", "s.txt:1: expected a variable after 'set', found '(Q:x)': a bare name, or "
                      "(X:NAME, unit) as gauges write it"},
      {"set (A:RPM, rpm 1", "s.txt:1: a variable's closing parenthesis is missing: (A:RPM, rpm 1"},
      {"ramp x 5 over 1", "s.txt:1: expected 'to' after 'ramp x'"},
      {"ramp x to 5 in 1", "s.txt:1: expected 'over' after 'ramp x to 5'"},
      {"ramp x to 5 over -1", "s.txt:1: expected a time in seconds, 0 or more, after 'ramp x to 5 "
                              "over'"},
      {"click", "s.txt:1: expected a gauge (FILE!NAME or WINDOW/FILE!NAME) after 'click'"},
      {"click chime_button", "s.txt:1: expected a gauge as FILE!NAME or WINDOW/FILE!NAME after "
                             "'click', found 'chime_button'"},
      {"click A!b \"Chime", "s.txt:1: a tooltip's closing quote is missing: \"Chime"},
      {"click A!b #0", "s.txt:1: areas are counted from #1, found '#0'"},
      {"click A!b at 12", "s.txt:1: expected a point X,Y after 'click A!b at', found '12' (a "
                          "gauge whose name holds 'at' or 'as' is written in quotes: click "
                          "\"FILE!NAME\")"},
      {"click A!b as", "s.txt:1: expected a mouse kind (LeftSingle, Leave...) after 'click A!b as'"},
      {"click A!b #1 \"Chime\"", "s.txt:1: unexpected 'Chime' after 'click A!b #1'"},
      {"event", "s.txt:1: expected an event's name after 'event'"},
      {"event X soon", "s.txt:1: expected a number after 'event X', found 'soon'"},
      {"open", "s.txt:1: expected a window (its section, Window01, or its ident) after 'open'"},
      {"close Window01 now", "s.txt:1: unexpected 'now' after 'close Window01'"},
  };
  expectErrors(cases);
}

// A script written back step by step replays exactly: every field read again
// as it was, whatever the digits.
TEST(Script, AStepWrittenBackReadsTheSame) {
  const char* lines[] = {
      "set cabin_fan -200002.25", "expect (L:cabin_fan, number) 0.1",
      "wait 0.30000000000000004", "wait until (A:EXIT OPEN:1, percent) 100 within 3",
      "ramp (A:GENERAL ENG RPM:1, rpm) to 2400.5 over 10", "click Cabin!chime_button",
      "click W/Cabin!chime_button \"say \\\"hi\\\" # \\\\\" as Leave", "click A!b #12", "click \"G!a at b\" at 1,2",
      "click A!b at 0.1,-2 as WheelUp", "event TOGGLE_MASTER_BATTERY 1e-7", "event GEAR_UP",
      "open Window02", "close MAIN_PANEL", "sound off", "unload GLOBAL.DLL",
  };
  for (const char* line : lines) {
    const Step first = parseScript("s.txt", line).steps.at(0);
    const std::string text = stepText(first, Digits::kExact);
    const Step again = parseScript("s.txt", text).steps.at(0);
    EXPECT_EQ(stepText(again, Digits::kExact), text) << line;
    EXPECT_EQ(std::tie(again.action, again.value, again.seconds, again.target, again.mouseKind,
                       again.area.by, again.area.tooltip, again.area.number, again.area.x,
                       again.area.y),
              std::tie(first.action, first.value, first.seconds, first.target, first.mouseKind,
                       first.area.by, first.area.tooltip, first.area.number, first.area.x,
                       first.area.y))
        << line << " -> " << text;
    EXPECT_EQ(gauges::variableText(again.variable.name), gauges::variableText(first.variable.name));
    EXPECT_EQ(again.variable.bare, first.variable.bare) << line;
  }
  EXPECT_EQ(stepText(parseScript("s.txt", "set (l:x,NUMBER) 1").steps[0], Digits::kShort),
            "set (L:x, number) 1");
}

// Without the panel a step that needs it is an error at its line.
TEST(Script, StepsOfThePanelNeedIt) {
  const Script fine = parseScript("s.txt", "set (L:x, number) 1\nramp x to 2 over 1\nsound off");
  requireNoPanelSteps(fine);
  const std::pair<const char*, const char*> cases[] = {
      {"click A!b", "s.txt:2: 'click A!b' needs the panel's gauges and aircraft: run with "
                    "--panel PANEL.CFG"},
      {"ramp (A:RPM, rpm) to 1 over 1", "s.txt:2: '(A:RPM, rpm)' needs the panel's gauges and "
                                        "aircraft: run with --panel PANEL.CFG"},
      {"event GEAR_UP", "s.txt:2: 'event GEAR_UP' needs"},
      {"open Window01", "s.txt:2: 'open Window01' needs"},
  };
  for (const auto& [line, message] : cases) {
    try {
      requireNoPanelSteps(parseScript("s.txt", std::string("set x 1\n") + line));
      ADD_FAILURE() << line;
    } catch (const ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
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
                                    "expect Cabin_Chime 0\n"
                                    "set Cabin_Chim 1\n"
                                    "set Cabin_Fan 1\n");
  std::vector<std::string> found;
  for (const Problem& p : unknownScriptVariables(
           script, {"cabin_chime", "cabin_quiet", "zeb_volume_played", "zeb_sound_indicator",
                    "cabin_fun", "cabin_fan"})) {
    found.push_back(formatProblem(p));
  }
  const std::string unused = "is no variable of the module: nothing but this script reads or "
                             "writes it";
  EXPECT_EQ(found, (std::vector<std::string>{
      "t.txt:1: warning: 'Cabin_Chime' " + unused + " (also on lines 3, 7): did you mean "
      "'cabin_chime'?",
      "t.txt:4: warning: 'zeb_volume_playd' " + unused + ": did you mean 'zeb_volume_played'?",
      "t.txt:5: warning: 'my_flag' " + unused,
      // A difference of case costs nothing, so it is the nearest typo.
      "t.txt:8: warning: 'Cabin_Chim' " + unused + ": did you mean 'cabin_chime'?",
      "t.txt:9: warning: 'Cabin_Fan' " + unused + ": did you mean 'cabin_fan'?",
  }));
}

}  // namespace
}  // namespace vorlanex::tool
