#include "gauge_panel.h"

#include <gtest/gtest.h>

#include "script_fixture.h"
#include "variable_name.h"

namespace vorlanex::gauges {
namespace {

constexpr double kFrame = 1.0 / 18;

const std::vector<PanelWindowSection> kOneWindow{{"Window00", "", "", true, 0, 0}};

PanelGaugeLine xmlGauge(const std::string& section, const std::string& name, std::string text) {
  return {section, name, name + ".xml", std::move(text), 1, 0, 0, 0, 0};
}

std::string gauge(const std::string& body) { return "<Gauge Name=\"g\">" + body + "</Gauge>"; }

// A panel of its own: its L: variables and a simulated aircraft at rest.
struct TestPanel {
  LocalVariables variables;
  SimulatedAircraft aircraft;
  GaugePanel panel;

  TestPanel(std::vector<PanelWindowSection> windows, std::vector<PanelGaugeLine> gauges)
      : panel(std::move(windows), std::move(gauges), variables, aircraft) {}

  double read(const std::string& name) {
    const VariableName variable = *parseVariableName(name);
    return variable.kind == 'L' ? variables.valueOf(variable.name) : aircraft.read(variable);
  }
  void write(const std::string& name, double value) {
    const VariableName variable = *parseVariableName(name);
    if (variable.kind == 'L') {
      variables.set(variables.bind(variable.name), value, {});
    } else {
      aircraft.write(variable, value);
    }
  }
  void frames(int count) {
    for (int i = 0; i < count; ++i) panel.runFrame(kFrame);
  }
};

// A step of an idiom's run: frames pass, a variable is set, the gauge's only
// area is clicked, or a variable is expected to hold a value.
struct Step {
  enum Kind { kFrames, kSet, kClick, kExpect } kind;
  std::string what;  // the variable, or the mouse kind clicked
  double value;      // frames, the value, or 1 when the click must be heard
};

struct Idiom {
  const char* name;
  std::string gauge;
  std::vector<Step> steps;
};

Step frames(int count) { return {Step::kFrames, "", static_cast<double>(count)}; }
Step set(const char* variable, double value) { return {Step::kSet, variable, value}; }
Step click(const char* kind, bool heard = true) { return {Step::kClick, kind, heard ? 1.0 : 0.0}; }
Step expect(const char* variable, double value) { return {Step::kExpect, variable, value}; }

const Idiom kIdioms[] = {
    {"edge detector",
     gauge("<Update>(A:EXIT OPEN:1, percent) 0 &gt; (L:door_was, bool) != if{\n"
           "  (L:door_was, bool) ! (>L:door_was, bool)\n"
           "  (L:door_changes, number) 1 + (>L:door_changes, number) }</Update>"),
     {frames(3), expect("(L:door_changes, number)", 0),
      set("(A:EXIT OPEN:1, percent)", 100), frames(3), expect("(L:door_changes, number)", 1),
      set("(A:EXIT OPEN:1, percent)", 0), frames(3), expect("(L:door_changes, number)", 2)}},
    {"toggle",
     gauge("<Mouse><Area Left=\"0\" Top=\"0\" Width=\"10\" Height=\"10\"><Click>"
           "(L:switch, bool) ! (>L:switch, bool) 1 (>L:click_sound, number)</Click></Area></Mouse>"),
     {click("LeftSingle"), expect("(L:switch, bool)", 1), expect("(L:click_sound, number)", 1),
      click("LeftSingle"), expect("(L:switch, bool)", 0)}},
    {"press and hold",
     gauge("<Mouse><Click Kind=\"LeftSingle+Leave\">(M:Event) 'LeftSingle' scmp 0 == if{\n"
           "1 (>L:held, bool) } els{ 0 (>L:held, bool) }</Click></Mouse>"),
     {click("LeftSingle"), expect("(L:held, bool)", 1), click("RightSingle", false),
      expect("(L:held, bool)", 1), click("leave"), expect("(L:held, bool)", 0)}},
    {"latch",
     gauge("<Update>(L:done, bool) ! if{ (L:runs, number) 1 + (>L:runs, number)\n"
           "1 (>L:done, bool) }</Update>"),
     {frames(5), expect("(L:runs, number)", 1)}},
    {"timer on the simulation clock",
     gauge("<Update>(L:timing, bool) if{ (P:Absolute time, seconds) (L:started, number) - 2 >= if{\n"
           "0 (>L:timing, bool) 1 (>L:timer_done, number) } }</Update>"
           "<Mouse><Click>(P:Absolute time, seconds) (>L:started, number) 1 (>L:timing, bool)"
           "</Click></Mouse>"),
     {frames(18), click("LeftSingle"), frames(34), expect("(L:timer_done, number)", 0), frames(4),
      expect("(L:timer_done, number)", 1)}},
    {"power gate",
     gauge("<Element><Select><Value>(A:ELECTRICAL MASTER BATTERY, bool) if{\n"
           "(A:GENERAL ENG RPM:1, rpm) 24 / 0 max 100 min (>L:engine_volume, number) }"
           "</Value></Select></Element>"),
     {set("(A:GENERAL ENG RPM:1, rpm)", 1200), set("(A:ELECTRICAL MASTER BATTERY, bool)", 0),
      frames(1), expect("(L:engine_volume, number)", 0),
      set("(A:ELECTRICAL MASTER BATTERY, bool)", 1), frames(1),
      expect("(L:engine_volume, number)", 50)}},
    {"click sending an event",
     gauge("<Image Name=\"b.bmp\" ImageSizes=\"10,10\"/>\n"
           "<Mouse><Area Right=\"5\"><Click Event=\"toggle_master_battery\"/></Area></Mouse>"),
     {set("(A:ELECTRICAL MASTER BATTERY, bool)", 0), click("LeftSingle"),
      expect("(A:ELECTRICAL MASTER BATTERY, bool)", 1), click("LeftSingle"),
      expect("(A:ELECTRICAL MASTER BATTERY, bool)", 0)}},
    {"hidden elements and Update Frequency",
     gauge("<Update Frequency=\"6\">(L:updates, number) 1 + (>L:updates, number)</Update>"
           "<Element><Visible>(L:shown, bool)</Visible>"
           "  <Select><Value>(L:own, number) 1 + (>L:own, number)</Value></Select>"
           "  <Element><Shift><Value>(L:child, number) 1 + (>L:child, number)</Value></Shift>"
           "  </Element></Element>"),
     {frames(18), expect("(L:updates, number)", 6), expect("(L:own, number)", 0),
      expect("(L:child, number)", 0), set("(L:shown, bool)", 1), frames(18),
      expect("(L:updates, number)", 12), expect("(L:own, number)", 6),
      expect("(L:child, number)", 6)}},
};

TEST(GaugePanel, RunsTheIdiomsOfSoundLogicAndTheFrameRules) {
  for (const Idiom& idiom : kIdioms) {
    SCOPED_TRACE(idiom.name);
    TestPanel test(kOneWindow, {xmlGauge("Window00", "logic!g", idiom.gauge)});
    int step = 0;
    for (const Step& s : idiom.steps) {
      SCOPED_TRACE(++step);
      if (s.kind == Step::kFrames) test.frames(static_cast<int>(s.value));
      if (s.kind == Step::kSet) test.write(s.what, s.value);
      if (s.kind == Step::kClick) {
        const ClickOutcome outcome = test.panel.click(0, {}, s.what);
        EXPECT_EQ(outcome.found, s.value != 0) << outcome.problem;
      }
      if (s.kind == Step::kExpect) {
        EXPECT_EQ(test.read(s.what), s.value) << s.what;
      }
    }
    for (const Finding& finding : test.panel.findings().all()) {
      ADD_FAILURE() << finding.site.line << ": " << finding.message;
    }
  }
}

TEST(GaugePanel, AClickedEventIsSentWithTheClicksSite) {
  TestPanel test(kOneWindow, {xmlGauge("Window00", "cab!battery", kIdioms[6].gauge)});
  ASSERT_TRUE(test.panel.click(0, {AreaChoice::By::kPoint, "", 0, 2, 2}, "LeftSingle").found);
  ASSERT_EQ(test.aircraft.events().size(), 1u);
  EXPECT_EQ(test.aircraft.events()[0].event, "TOGGLE_MASTER_BATTERY");
  EXPECT_EQ(test.aircraft.events()[0].sender.gauge, "cab!battery");
  EXPECT_EQ(test.aircraft.events()[0].sender.line, 2);
  const ClickOutcome outside =  // right of the area's edge at 5
      test.panel.click(0, {AreaChoice::By::kPoint, "", 0, 7, 2}, "LeftSingle");
  EXPECT_NE(outside.problem.find("#1 at 0,0 5x10"), std::string::npos) << outside.problem;
}

// The gauges of window A, the module stand-in between them, and window B
// closed: each XML gauge counts its frames in an L: variable.
std::vector<PanelGaugeLine> orderedGauges() {
  const auto counter = [](const std::string& name) {
    return gauge("<Update>(L:" + name + ", number) 1 + (>L:" + name + ", number)</Update>");
  };
  PanelGaugeLine module{"WindowA", "Vorlanex_sound!sound", "", std::nullopt, 3, 0, 0, 0, 0};
  return {xmlGauge("WindowB", "hidden!g", counter("hidden")),
          xmlGauge("WindowA", "before!g", counter("before")), module,
          xmlGauge("windowa", "after!g", counter("after"))};
}

TEST(GaugePanel, RunsGaugesInPanelOrderAndTheModuleAtItsPlace) {
  TestPanel test({{"WindowA", "", "", true, 0, 0}, {"WindowB", "10", "", false, 0, 0}},
                 orderedGauges());
  std::vector<std::pair<double, double>> seen;  // before, after, as the module saw them
  test.panel.setOtherGauge([&](const PanelGaugeLine& gaugeLine) {
    EXPECT_EQ(gaugeLine.name, "Vorlanex_sound!sound");
    seen.emplace_back(test.variables.valueOf("before"), test.variables.valueOf("after"));
  });
  const double start = test.aircraft.time();
  test.frames(2);
  EXPECT_EQ(seen, (std::vector<std::pair<double, double>>{{1, 0}, {2, 1}}));
  EXPECT_EQ(test.read("(L:hidden, number)"), 0);
  EXPECT_NEAR(test.aircraft.time() - start, 2 * kFrame, 1e-6);

  EXPECT_FALSE(test.panel.click(0, {}, "LeftSingle").found);
  EXPECT_FALSE(test.panel.setWindowOpen("Window09", true));
  ASSERT_TRUE(test.panel.setWindowOpen("10", true));  // by its ident
  EXPECT_TRUE(test.panel.windowOpen(1));
  test.frames(1);
  EXPECT_EQ(test.read("(L:hidden, number)"), 1);
  ASSERT_TRUE(test.panel.setWindowOpen("WINDOWA", false));
  test.frames(1);
  EXPECT_EQ(test.read("(L:before, number)"), 3);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(test.panel.findGauge("windowb/HIDDEN!g"), 0);
  EXPECT_EQ(test.panel.findGauge("after!g"), 3);
  EXPECT_EQ(test.panel.findGauge("WindowB/after!g"), std::nullopt);
}

TEST(GaugePanel, TellsWhatCompilingAndRunningFoundAtTheFilesLines) {
  const std::string text = gauge(
      "\n<Element>\n  <Value>\n    1 (>L:x, number)\n    frob\n  </Value>\n</Element>\n"
      "<Update>1 0 / (>L:y, number)</Update>");
  TestPanel test(kOneWindow, {xmlGauge("Window00", "cab!logic", text)});
  test.frames(3);
  std::vector<std::tuple<std::string, int, std::string, std::string>> found;
  for (const Finding& finding : test.panel.findings().all()) {
    found.emplace_back(finding.site.gauge, finding.site.line, finding.site.excerpt,
                       finding.message.substr(0, 12));
  }
  EXPECT_EQ(found, (std::vector<std::tuple<std::string, int, std::string, std::string>>{
                       {"cab!logic", 5, "frob", "unknown word"},
                       {"cab!logic", 8, "1 0 / (>L:y, number)", "division by "}}));
}

// Every gauge appends its digit to L:order as it runs: the Update one digit,
// its element another.
TEST(GaugePanel, RunsWindowsInTheirOrderThenGaugesOutsideAnyWithTheUpdateFirst) {
  const auto appends = [](int digit) {
    return "(L:order, number) 10 * " + std::to_string(digit) + " + (>L:order, number)";
  };
  const auto gaugeOf = [&](int update, int element) {
    return gauge("<Element><Select><Value>" + appends(element) + "</Value></Select></Element><Update>" +
                 appends(update) + "</Update>");
  };
  TestPanel test({{"WindowB", "", "", true, 0, 0}, {"WindowA", "", "", true, 0, 0}},
                 {xmlGauge("Loose", "loose!g", gaugeOf(7, 8)), xmlGauge("WindowA", "a!g", gaugeOf(5, 6)),
                  xmlGauge("WindowB", "b!g", gaugeOf(1, 2)), xmlGauge("WindowB", "b2!g", gaugeOf(3, 4))});
  test.frames(1);
  EXPECT_EQ(test.read("(L:order, number)"), 12345678);
}

TEST(GaugePanel, UpdateFrequencyRunsTheGaugeFirstInTheFirstFrame) {
  TestPanel test(kOneWindow, {xmlGauge("Window00", "f!g", gauge("<Update Frequency=\"6\">"
                                                                "(L:runs, number) 1 + (>L:runs, number)</Update>"))});
  for (const double runs : {1, 1, 1, 2, 2, 2, 3}) {
    test.frames(1);
    EXPECT_EQ(test.read("(L:runs, number)"), runs);
  }
}

// The Update leaves n, n and 5 on the cycle's stack; the Visible's 1 is
// taken off, the Value writes 5 and takes an n as its result, and the other
// n is left at the cycle's end.
TEST(GaugePanel, TheScriptsOfACycleShareOneStackClearedWhenItStarts) {
  TestPanel test(kOneWindow, {xmlGauge("Window00", "s!g",
                                       gauge("<Update>(>L:z, number) (L:n, number) 1 + d (>L:n, number) d 5</Update>\n"
                                             "<Element><Visible>1</Visible><Select><Value>(>L:x, number)"
                                             "</Value></Select></Element>\n"
                                             "<Mouse><Click>(>L:clicked, number)</Click></Mouse>"))});
  test.frames(2);
  EXPECT_EQ(test.read("(L:x, number)"), 5);
  EXPECT_EQ(test.read("(L:z, number)"), 0);  // the first cycle's n was cleared
  test.write("(L:clicked, number)", 9);
  ASSERT_TRUE(test.panel.click(0, {}, "LeftSingle").found);
  EXPECT_EQ(test.read("(L:clicked, number)"), 0);  // a click runs on a fresh stack
  std::string told;
  for (const Finding& finding : test.panel.findings().all()) {
    told += std::to_string(finding.site.line) + ": " + finding.message + "\n";
  }
  EXPECT_EQ(told,
            "1: popping an empty stack: 0 is read\n"
            "2: it takes a value left on the gauge's shared stack by an earlier script (line 1): "
            "the simulator's scripts of a cycle share one stack\n"
            "2: its result is a value left on the gauge's shared stack by an earlier script (line 1): "
            "the simulator's scripts of a cycle share one stack\n"
            "3: popping an empty stack: 0 is read\n");
}

TEST(GaugePanel, TellsAPushPastTheStacksDepthOverACycle) {
  std::string pushes;
  for (int i = 0; i < 20; ++i) pushes += "1 ";
  TestPanel test(kOneWindow, {xmlGauge("Window00", "s!g", gauge("<Update>" + pushes + "</Update>\n<Element>"
                                                                "<Select><Value>" + pushes + "</Value></Select></Element>"))});
  test.frames(1);
  ASSERT_EQ(test.panel.findings().all().size(), 1u);
  EXPECT_EQ(test.panel.findings().all()[0].site.line, 2);
  EXPECT_EQ(test.panel.findings().all()[0].message, "a push onto the full stack (30 values) drops its bottom value");
}

// Areas 1 (0,0 10x10) and 2 (5,0 10x10) overlap; area 3 inside 2 is shown
// while L:shown is set. Each click writes its area's number, (M:X), (M:Y)
// and whether (M:Event) is RightSingle.
TEST(GaugePanel, RoutesAClickByItsPointThroughEdgesOverlapsAndHiddenAreas) {
  const auto area = [](const char* edges, int number, const std::string& inner = "") {
    return std::string("<Area ") + edges + "><Click Kind=\"LeftSingle+RightSingle\">" + std::to_string(number) +
           " (>L:hit, number) (M:X) (>L:x, number) (M:Y) (>L:y, number)"
           " (M:Event) 'RightSingle' scmp ! (>L:right, number)</Click>" + inner + "</Area>";
  };
  const std::string text = gauge(
      "<Mouse>" + area("Left=\"0\" Top=\"0\" Width=\"10\" Height=\"10\"", 1) +
      area("Left=\"5\" Top=\"0\" Width=\"10\" Height=\"10\"", 2,
           area("Left=\"5\" Top=\"0\" Width=\"5\" Height=\"5\"><Visible>(L:shown, bool)</Visible", 3)) +
      "</Mouse>");
  TestPanel test({{"Window00", "", "", false, 0, 0}}, {xmlGauge("Window00", "m!g", text)});
  const auto clickAt = [&](double x, double y, const char* kind = "LeftSingle") {
    test.write("(L:hit, number)", 0);
    test.panel.click(0, {AreaChoice::By::kPoint, "", 0, x, y}, kind);
    return test.read("(L:hit, number)");
  };
  EXPECT_EQ(clickAt(2, 2), 0);  // its window is closed
  ASSERT_TRUE(test.panel.setWindowOpen("Window00", true));
  for (const auto& [x, y, hit] : std::initializer_list<std::tuple<double, double, double>>{
           {0, 0, 1}, {9.9, 9.9, 1}, {10, 2, 2}, {14.9, 2, 2}, {15, 2, 0}, {2, 10, 0}, {12, 2, 2}}) {
    EXPECT_EQ(clickAt(x, y), hit) << x << "," << y;
  }
  test.write("(L:shown, bool)", 1);
  EXPECT_EQ(clickAt(12, 2, "RightSingle"), 3);
  EXPECT_EQ(test.read("(L:x, number)"), 12);
  EXPECT_EQ(test.read("(L:y, number)"), 2);
  EXPECT_EQ(test.read("(L:right, number)"), 1);
  EXPECT_EQ(clickAt(12, 6), 2);  // below area 3
  EXPECT_EQ(test.read("(L:right, number)"), 0);
  test.write("(L:shown, bool)", 0);
  const ClickOutcome hidden = test.panel.click(0, {AreaChoice::By::kNumber, "", 3, 0, 0}, "LeftSingle");
  EXPECT_FALSE(hidden.found);
  EXPECT_NE(hidden.problem.find("area #3 (line 1) is hidden"), std::string::npos) << hidden.problem;
}

TEST(GaugePanel, RunsKeysWithTheirKeyAndBlinkCodes) {
  TestPanel test(kOneWindow, {xmlGauge("Window00", "k!g",
                                       gauge("<Keys><On Key=\"F1\">(M:Key) 'F1' scmp ! (>L:f1, number)</On></Keys>\n"
                                             "<Element><BlinkCode>(L:alarm, bool) d (>L:seen, number)</BlinkCode>"
                                             "</Element>"))});
  EXPECT_EQ(test.panel.pressKey("f1"), 1);
  EXPECT_EQ(test.panel.pressKey("F2"), 0);
  EXPECT_EQ(test.read("(L:f1, number)"), 1);
  test.write("(L:alarm, bool)", 1);
  test.frames(1);
  EXPECT_EQ(test.read("(L:seen, number)"), 1);
  EXPECT_EQ(test.panel.blinkingElements(0), std::vector<int>{2});
  test.write("(L:alarm, bool)", 0);
  test.frames(1);
  EXPECT_EQ(test.panel.blinkingElements(0), std::vector<int>{});
}

// A cycle goes through its scripts in one run: a hidden element's own
// scripts and its children's are passed over and its next sibling runs; a
// quit, or a loop stopped at its step bound, ends only its own script.
TEST(GaugePanel, ACycleSkipsWhatAHiddenElementHoldsAndEndsAScriptAlone) {
  const auto writes = [](const char* name) { return std::string("<Value>1 (>L:") + name + ", number)</Value>"; };
  TestPanel test(kOneWindow,
                 {xmlGauge("Window00", "h!g",
                           gauge("<Update>:1 g1</Update>"
                                 "<Element><Visible>0</Visible>" + writes("hidden") +
                                 "<Element>" + writes("hidden_child") + "</Element></Element>"
                                 "<Element><Visible>1</Visible>"
                                 "  <Element><Visible>(L:inner, bool)</Visible><Element>" + writes("inner_child") +
                                 "  </Element></Element>"
                                 "  <Element><Value>1 (>L:before, number) quit 1 (>L:never, number)</Value>" +
                                 writes("after_quit") + "</Element></Element>" +
                                 "<Element>" + writes("last") +
                                 "<Value>5 (L:inner, bool) if{ 10 } els{ 20 } + (>L:sum, number)</Value></Element>"))});
  test.frames(1);
  for (const auto& [name, value] : std::initializer_list<std::pair<const char*, double>>{
           {"hidden", 0}, {"hidden_child", 0}, {"inner_child", 0}, {"before", 1}, {"never", 0},
           {"after_quit", 1}, {"last", 1}, {"sum", 25}}) {
    EXPECT_EQ(test.read(std::string("(L:") + name + ", number)"), value) << name;
  }
  test.write("(L:inner, bool)", 1);
  test.frames(1);
  EXPECT_EQ(test.read("(L:inner_child, number)"), 1);
  EXPECT_EQ(test.read("(L:sum, number)"), 15);  // the jump past els{ lands on the + alone
  ASSERT_EQ(test.panel.findings().all().size(), 1u);
  EXPECT_EQ(test.panel.findings().all()[0].message, "the script ran too many steps (an endless loop?) and was stopped");
}

// A text stays itself whichever later script of the cycle takes it: the
// Update's 'ON' in a Visible, its 'x' in a string.
TEST(GaugePanel, ATextLeftOnTheCycleStackReadsTheSameInALaterScript) {
  TestPanel test(kOneWindow, {xmlGauge("Window00", "t!g",
                                       gauge("<Update>'x' 'ON'</Update><Element><Visible>'ON' scmp !</Visible>"
                                             "<Text><String>%( 'y' scat )%!s!</String></Text></Element>"))});
  std::vector<std::string> shown;
  test.panel.setStringListener([&](const ScriptSite&, const std::string& text) { shown.push_back(text); });
  test.frames(1);
  EXPECT_EQ(shown, std::vector<std::string>{"xy"});
}

// A script laid out in a cycle runs as it does alone: its numbers joined to
// the operators after them, its jumps, quits and texts moved, the same told.
TEST(GaugePanel, AnUpdateRunsInItsCycleAsItRunsAlone) {
  std::string full;
  for (int i = 0; i < 30; ++i) full += "1 ";
  for (const std::string& script : std::initializer_list<std::string>{
           "'5' 1 + (>L:r, number)", "7 0 / 3 + 2 / (>L:r, number)", "1 if{ 2 } els{ 3 } 4 * (>L:r, number)",
        "0 :1 1 + d 5 < if{ g1 } (>L:r, number)", "'AB' 'C' scat 'ABC' scmp 10 == (>L:r, number)",
        "2 3 quit 4 + (>L:r, number)", "2 s0 3 l0 max 1 - (>L:r, number)", full + "2 + (>L:r, number)",
        "1 + 5 != (>L:r, number)", "1\n+ (>L:r, number)"}) {
    ScriptFixture alone;
    alone.run(script);
    std::string xml;
    for (const char c : script) xml += c == '<' ? std::string("&lt;") : c == '>' ? std::string("&gt;") : std::string(1, c);
    TestPanel test(kOneWindow, {xmlGauge("Window00", "d!g", gauge("<Update>" + xml + "</Update>"))});
    test.frames(1);
    EXPECT_EQ(test.read("(L:r, number)"), alone.shared.valueOf("r")) << script;
    std::string told;
    for (const Finding& finding : test.panel.findings().all()) {
      told += std::to_string(finding.site.line) + ": " + finding.message + "\n";
    }
    EXPECT_EQ(told, alone.told()) << script;
  }
}

// A gauge saved again runs its new script from the next frame, with the
// panel's and the aircraft's variables, its G: variables and the windows as
// they were.
TEST(GaugePanelTest, ReplacedGaugeRunsItsNewScriptAndKeepsTheSession) {
  const std::vector<PanelWindowSection> windows{{"Window00", "", "", true, 0, 0},
                                                {"Window01", "", "", true, 0, 0}};
  TestPanel test(windows, {xmlGauge("Window00", "g", gauge("<Update>(G:Var1) 1 + (>G:Var1)"
                                                           "(G:Var1) (>L:count, number)</Update>")),
                           xmlGauge("Window01", "other", gauge("<Update/>"))});
  test.frames(3);
  test.write("(A:EXIT OPEN:1, percent)", 40);
  ASSERT_TRUE(test.panel.setWindowOpen("Window01", false));
  ASSERT_TRUE(test.panel.replaceGauge(0, gauge("<Update>(G:Var1) 10 + (>G:Var1)"
                                               "(G:Var1) (>L:count, number)</Update>")));
  EXPECT_EQ(test.read("(L:count, number)"), 3);  // nothing runs before the next frame
  test.frames(1);
  EXPECT_EQ(test.read("(L:count, number)"), 13);
  EXPECT_EQ(test.read("(A:EXIT OPEN:1, percent)"), 40);
  EXPECT_FALSE(test.panel.windowOpen(1));
}

}  // namespace
}  // namespace vorlanex::gauges
