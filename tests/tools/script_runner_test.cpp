// The frame loop of `run` against a freshly loaded module: when each step
// runs, how waits end, what GLOBAL.DLL allows, and which writes are logged.
#include "script_runner.h"

#include <gtest/gtest.h>

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
  std::vector<VariableWrite> writes;
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
