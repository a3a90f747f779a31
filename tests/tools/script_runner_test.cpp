// The frame loop of `run` against a freshly loaded module: when each step
// runs, how waits end, what GLOBAL.DLL allows, and which writes are logged.
#include "script_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "script_parser.h"
#include "support/built_files.h"
#include "support/temp_folder.h"

namespace vorlanex::tool {
namespace {

struct ScriptRun {
  test::TempFolder root;
  host::ModuleLibrary module{test::modulePath()};
  ScriptRunner runner;
  Script script;

  ScriptRun(const char* text, double fps = 18.0)
      : runner(module.exports(), {fps, "./Gauges/t.ini", test::globalDllPath()}),
        script(parseScript("s.txt", text)) {
    root.write("Gauges/t.ini", "[Config]\nMaxSounds=2\nErrorFlag=-1\n");
  }
  RunRecord play() { return runner.run(script); }
};

TEST(ScriptRunner, StepsRunAtTheFirstFrameOfTheirTime) {
  struct Case {
    double fps;
    std::vector<int> frames;  // of the set, the two expects, the last set
    int totalFrames;
  } cases[] = {{18.0, {27, 27, 36, 54}, 55}, {10.0, {15, 15, 20, 30}, 31}, {7.0, {11, 11, 15, 21}, 22}};
  for (const Case& c : cases) {
    ScriptRun run("at 1.5 set a 1\nexpect a 1\nwait 0.5\nexpect a 1\nat 3 set a 2\n", c.fps);
    const RunRecord record = run.play();
    std::vector<int> frames;
    for (const StepEvent& e : record.events) frames.push_back(e.frame);
    EXPECT_EQ(frames, c.frames) << c.fps;
    EXPECT_EQ(record.frames, c.totalFrames) << c.fps;
    EXPECT_EQ(record.failures(), 0);
  }
}

TEST(ScriptRunner, ExpectationsAndWaitsRecordWhatTheyFound) {
  ScriptRun run("set a 1\nwait until a 1 within 2\nexpect a 2\nwait until b 1 within 1\nwait 1\n", 10.0);
  int advances = 0;
  run.runner.setFrameAdvance([&](int frame, double seconds) {
    EXPECT_EQ(frame, advances++);
    EXPECT_DOUBLE_EQ(seconds, 0.1);
  });
  const RunRecord record = run.play();
  ASSERT_EQ(record.events.size(), 4u);
  EXPECT_TRUE(record.events[1].passed);  // reached at once
  EXPECT_FALSE(record.events[2].passed);
  EXPECT_EQ(record.events[2].actual, 1.0);
  EXPECT_FALSE(record.events[3].passed);  // timed out after its second
  EXPECT_EQ(record.events[3].frame, 10);
  EXPECT_EQ(record.failures(), 2);
  EXPECT_EQ(record.frames, 21);  // the final wait lets its second pass
  EXPECT_EQ(advances, record.frames);
}

// Within a millionth of the value expected, relative, so 0 holds only 0.
TEST(ScriptRunner, ExpectationsHoldWithinAMillionthOfTheValue) {
  ScriptRun run("set c 1000.0009\nexpect c 1000\nwait until c 1000 within 1\nexpect c 1000.002\n"
                "set z 1e-9\nexpect z 0\n");
  const RunRecord record = run.play();
  std::vector<bool> held;
  for (const StepEvent& e : record.events) held.push_back(e.passed);
  EXPECT_EQ(held, (std::vector<bool>{true, true, true, false, true, false}));
  EXPECT_EQ(record.frames, 1);  // the wait held at once
}

TEST(ScriptRunner, StepsAtTimeZeroComeBeforeThePanelIsInstalled) {
  ScriptRun run("at 0 set zeb_xml_id_01 1\nunload GLOBAL.DLL\nat 1 load GLOBAL.DLL\nsound off\n");
  const RunRecord record = run.play();
  EXPECT_EQ(record.events.size(), 4u);
  // The script created the variable before the module registered anything.
  EXPECT_EQ(run.runner.host().variables().lookup("zeb_xml_id_01"), 0);
  // The module read the 1 and, finding no WAV file, wrote the error value.
  EXPECT_EQ(run.runner.host().variables().valueOf("zeb_xml_id_01"), -1.0);
}

TEST(ScriptRunner, StepsThatCannotBeCarriedOutNameTheirLine) {
  struct Case {
    const char* script;
    const char* message;
  } cases[] = {
      {"at 1 unload GLOBAL.DLL",
       "s.txt:1: GLOBAL.DLL cannot be unloaded once the module holds its handle (the simulator "
       "never unloads it): unload it at time 0, before the panel is installed"},
      {"load GLOBAL.DLL", "s.txt:1: GLOBAL.DLL is loaded already"},
      {"unload GLOBAL.DLL\nunload GLOBAL.DLL", "s.txt:2: GLOBAL.DLL is not loaded"},
  };
  for (const Case& c : cases) {
    ScriptRun run(c.script);
    try {
      run.play();
      ADD_FAILURE() << c.script;
    } catch (const ScriptError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// A panel of one XML gauge beside the module: a click powers it and sends an
// event; its Update then asks for sound 00 once.
constexpr const char* kPowerGauge =
    "<Gauge Name=\"g\" Version=\"1.0\">\n"
    "<Update>(L:power, bool) if{ 1 (>L:zeb_xml_id_00, number) 0 (>L:power, bool) }</Update>\n"
    "<Mouse><Area Left=\"0\" Top=\"0\" Width=\"10\" Height=\"10\">\n"
    "<Click>1 (>L:power, bool) 1 (>K:TOGGLE_MASTER_BATTERY)</Click>\n"
    "</Area></Mouse></Gauge>\n";

RunPanel panelOf(bool moduleFirst, bool moduleWindowOpen = true) {
  RunPanel panel;
  panel.windows = {{"Window00", "MAIN", "", true, 0, 0}, {"Window01", "", "", moduleWindowOpen, 0, 0}};
  gauges::PanelGaugeLine gauge{"Window00", "G!g", "G/g.xml", kPowerGauge, 3, 0, 0, 10, 10};
  gauges::PanelGaugeLine module{moduleWindowOpen && moduleFirst ? "Window00" : "Window01",
                                "Vorlanex_sound!sound", "", std::nullopt, 2, 0, 0, 1, 1};
  panel.gauges = moduleFirst ? std::vector{module, gauge} : std::vector{gauge, module};
  panel.module = moduleFirst ? 0 : 1;
  return panel;
}

struct Writes {
  int frame;
  const char* name;
  double newValue;
  Writer::Kind writer;
};

// The gauges run after the script's steps, the module at its own line's place.
TEST(ScriptRunner, WithThePanelEveryWriteNamesItsWriterInTheFramesOrder) {
  for (const bool moduleFirst : {true, false}) {
    ScriptRun run("at 0.5 click G!g\nexpect (A:ELECTRICAL MASTER BATTERY, bool) 1\n"
                  "ramp (A:GENERAL ENG RPM:1, rpm) to 1000 over 0.5\nwait 1\n"
                  "expect (A:GENERAL ENG RPM:1, rpm) 1000\nset zeb_xml_id_01 1");
    run.runner.usePanel(panelOf(moduleFirst));
    RunRecord record = run.play();
    const int reply = moduleFirst ? 10 : 9;  // the module sees the gauge's write
    std::vector<std::tuple<int, std::string, double, Writer::Kind>> writes;
    for (const VariableWrite& w : record.writes) {
      // With ErrorFlag=-1 the module writes -1 again in every frame.
      if (w.name.rfind("zeb_xml_id_", 0) == 0 && w.oldValue != w.newValue) {
        writes.emplace_back(w.frame, w.name, w.newValue, w.writer.kind);
      }
    }
    using K = Writer::Kind;
    EXPECT_EQ(writes, (decltype(writes){{9, "zeb_xml_id_00", 1, K::kGauge},
                                        {reply, "zeb_xml_id_00", -1, K::kModule},
                                        {27, "zeb_xml_id_01", 1, K::kScript},
                                        {27, "zeb_xml_id_01", -1, K::kModule}}))
        << moduleFirst;
    const auto gaugeWrite = std::find_if(record.writes.begin(), record.writes.end(),
                                         [](const VariableWrite& w) {
                                           return w.writer.kind == K::kGauge && w.name == "zeb_xml_id_00";
                                         });
    EXPECT_EQ(std::tie(gaugeWrite->writer.site.gauge, gaugeWrite->writer.site.file,
                       gaugeWrite->writer.site.line),
              std::make_tuple("G!g", "G/g.xml", 2));
    ASSERT_EQ(record.sentEvents.size(), 1u);
    EXPECT_EQ(std::tie(record.sentEvents[0].frame, record.sentEvents[0].event,
                       record.sentEvents[0].value, record.sentEvents[0].sender.kind),
              std::make_tuple(9, "TOGGLE_MASTER_BATTERY", 1.0, K::kGauge));
    EXPECT_EQ(record.failures(), 0);
  }
}

// A live session that lets go of its old record: each event the gauges send
// is recorded once, and the aircraft holds none it has handed over.
TEST(ScriptRunner, ALiveSessionForgetsWhatItTookAndRecordsEachEventOnce) {
  ScriptRun run("click G!g");
  run.runner.usePanel(panelOf(true));
  const Script none;
  for (int frame = 0; frame < 40; ++frame) {
    run.runner.playFrame(frame % 10 == 5 ? run.script : none, frame);
    run.runner.forgetBefore((frame + 1) / 18.0 - 1.0);
    EXPECT_TRUE(run.runner.aircraft()->events().empty()) << frame;
  }
  run.runner.host().disconnect();
  const RunRecord& record = run.runner.record();
  ASSERT_EQ(record.sentEvents.size(), 2u);  // those of the last second
  EXPECT_EQ(std::make_pair(record.sentEvents[0].frame, record.sentEvents[1].frame), std::make_pair(25, 35));
  EXPECT_EQ(record.events.size(), 4u);  // every click
}

// The module starts when its window first opens, and a closed window's
// gauges, the module's among them, do not run.
TEST(ScriptRunner, TheModuleRunsOnlyWhileItsWindowIsOpen) {
  ScriptRun run("at 1 open Window01\nat 2 close window01\nat 3 click G!g\nwait 0.1\nexpect power 0");
  run.runner.usePanel(panelOf(false, false));
  const RunRecord record = run.play();
  int first = -1;
  int last = -1;
  for (const VariableWrite& w : record.writes) {
    if (w.writer.kind != Writer::Kind::kModule) continue;
    if (first < 0) first = w.frame;
    last = w.frame;
  }
  EXPECT_EQ(first, 18);
  EXPECT_EQ(last, 35);
  EXPECT_EQ(record.failures(), 0);  // the gauge took its click and ran on
}

TEST(ScriptRunner, ARampMovesItsVariableEveryFrameAndEndsOnItsValue) {
  ScriptRun run("set x 2\nramp x to 12 over 1\nat 0.5 ramp y to 1 over 0\n", 10.0);
  const RunRecord record = run.play();
  std::vector<std::pair<int, double>> x;
  for (const VariableWrite& w : record.writes) {
    if (w.name == "x") x.emplace_back(w.frame, w.newValue);
  }
  ASSERT_EQ(x.size(), 11u);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(x[i].first, i);
    EXPECT_NEAR(x[i].second, 2 + i, 1e-9);
  }
  EXPECT_EQ(x.back().second, 12.0);  // exactly
  EXPECT_EQ(run.runner.host().variables().valueOf("y"), 1.0);
  EXPECT_EQ(record.frames, 11);  // the run lasts as long as its ramps
}

TEST(ScriptRunner, PanelStepsThatCannotBeCarriedOutAreToldBeforeTheRun) {
  const std::pair<const char*, const char*> cases[] = {
      {"set x 1\nclick G!h", "s.txt:2: no gauge line of the panel loads the XML gauge 'G!h' (its "
                             "XML gauges: G!g)"},
      {"open Window07", "s.txt:1: the panel has no window 'Window07' (its windows: Window00 "
                        "(MAIN), Window01)"},
      {"at 1 click G!g #3", "s.txt:1: G!g: the gauge has no mouse area #3"},
  };
  for (const auto& [script, message] : cases) {
    ScriptRun run(script);
    run.runner.usePanel(panelOf(true));
    int frames = 0;
    run.runner.setFrameAdvance([&](int, double) { ++frames; });
    try {
      run.play();
      ADD_FAILURE() << script;
    } catch (const ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
    }
    EXPECT_EQ(frames, std::string(script).rfind("at 1", 0) == 0 ? 18 : 0) << script;
  }
}

TEST(RunRecord, WritesCarryOldAndNewValuesAndTheSoundBeingHandled) {
  host::NamedVariables variables;
  for (const char* name : {"cabin_chime", "cabin_fan", "zeb_volume_played"}) {
    variables.registerName(name);
  }
  const std::vector<host::HostCall> calls = {
      {abi::kLookupNamedVariable, "cabin_chime", 0, 0, nullptr, 0},
      {abi::kGetNamedVariableValue, "", 0, 1, nullptr, 0},
      {abi::kLookupNamedVariable, "cabin_fan", 1, 0, nullptr, 0},
      {abi::kLookupNamedVariable, "zeb_volume_played", 2, 0, nullptr, 0},
      {abi::kSetNamedVariableValue, "", 2, 80, nullptr, 0},
      {abi::kSetNamedVariableValue, "", -1, 5, nullptr, 0},  // ignored by the host
      {abi::kSetNamedVariableValue, "", 1, 0, nullptr, 0},
      {abi::kSetNamedVariableValue, "", 2, 75, nullptr, 0},
  };
  std::vector<double> values = {1, 2, 100};
  std::deque<VariableWrite> writes;
  collectWrites(calls, variables, 7, 0.5, values, writes);
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0].name, "zeb_volume_played");
  EXPECT_EQ(writes[0].oldValue, 100);
  EXPECT_EQ(writes[0].newValue, 80);
  EXPECT_EQ(writes[0].during, "cabin_fan");
  EXPECT_EQ(writes[0].frame, 7);
  EXPECT_EQ(writes[1].name, "cabin_fan");
  EXPECT_EQ(writes[1].oldValue, 2);
  EXPECT_EQ(writes[2].oldValue, 80);  // follows the frame's earlier write
  EXPECT_EQ(values, (std::vector<double>{1, 0, 75}));
}

}  // namespace
}  // namespace vorlanex::tool
