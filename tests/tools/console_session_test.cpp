// What the console's page is sent as a session grows: each ended item of the
// timeline once, the last stretch to a page that has just opened, and the
// session's script as `run` would replay it.
#include "console_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "console_command.h"
#include "live_panel.h"
#include "recorded_script.h"
#include "support/built_files.h"
#include "support/temp_folder.h"

namespace vorlanex::tool {
namespace {

using nlohmann::json;

// A session at 10 frames a second in which the page loops sound "a" in one
// frame and stops it in the next, and so on.
struct LoopingSession {
  static SoundTable tableOfOne() {
    SoundTable table{};
    table.soundCount = 1;
    std::strcpy(table.slots[0].varName, "a");
    std::strcpy(table.slots[1].varName, "stop");
    return table;
  }

  ConsoleSession session{
      PanelFacts{"./Gauges/t.ini", "stop", {{"a", "./a.wav", 100, "", {}, false, true}}, {}},
      tableOfOne(), true, "vorlanex-panel run ./Gauges/t.ini THIS_FILE --fps 10"};
  std::deque<Step> steps;  // events point into it
  RunRecord record{10.0, 0, {}, {}};
  host::NamedVariables variables;

  void playFrame() {
    const int frame = record.frames;
    const double time = frame / record.framesPerSecond;
    Step& step = steps.emplace_back(variableStep(Action::kSet, "a", frame % 2 == 0 ? 2 : 0));
    record.events.push_back({frame, time, &step});
    record.writes.push_back({frame, time, "a", 0, step.value, "", {Writer::Kind::kScript, {}}});
    if (step.value == 2) record.writes.push_back({frame, time, "zeb_volume_played", 0, 100, "a"});
    record.frames = frame + 1;
    session.frameDone(record, variables);
  }

  json stateAfter(long long after) {
    return json::parse(session.stateAfter(after, std::chrono::milliseconds(0)));
  }
};

std::vector<double> spanStarts(const json& state) {
  std::vector<double> starts;
  for (const json& event : state["events"]) {
    if (event.contains("span")) starts.push_back(event["span"]["start"].get<double>());
  }
  return starts;
}

TEST(ConsoleSession, APageFollowingTheFramesIsSentEachEndedSpanOnce) {
  LoopingSession s;
  std::vector<double> starts;
  long long shown = -1;
  for (int i = 0; i <= 1000; ++i) {
    s.playFrame();
    // The page polls now and then, as a slow browser does.
    if (i % 7 != 0) continue;
    const json state = s.stateAfter(shown);
    EXPECT_EQ(state.contains("panel"), shown < 0);
    for (double start : spanStarts(state)) starts.push_back(start);
    shown = state["frame"].get<long long>();
  }
  for (double start : spanStarts(s.stateAfter(shown))) starts.push_back(start);
  // Loops from frames 0, 2, ... 998 have ended; the one from 1000 is open.
  ASSERT_EQ(starts.size(), 500u);
  for (std::size_t k = 0; k < starts.size(); ++k) EXPECT_DOUBLE_EQ(starts[k], 0.2 * k) << k;
  const json open = s.stateAfter(shown - 1)["timeline"]["lanes"][0];
  EXPECT_EQ(open["state"], "looping");
  EXPECT_DOUBLE_EQ(open["start"].get<double>(), 100.0);
}

// A page is sent the parts of the state that changed after the frame it
// shows: every part once, then what moves.
TEST(ConsoleSession, APageIsSentOnlyThePartsChangedSinceTheFrameItShows) {
  LoopingSession s;
  for (int i = 0; i < 5; ++i) s.playFrame();
  const json first = s.stateAfter(-1);
  for (const char* part : {"frame", "sounds", "simulator", "stopAll", "status", "timeline"}) {
    EXPECT_TRUE(first.contains(part)) << part;
  }
  const json next = s.stateAfter(3);
  EXPECT_EQ(next["frame"], 4);
  EXPECT_TRUE(next.contains("sounds"));  // the loop's value changes each frame
  EXPECT_FALSE(next.contains("simulator"));
  EXPECT_FALSE(next.contains("stopAll"));
}

TEST(ConsoleSession, APageOpenedLateIsSentTheLastStretchAndTheScriptHasEveryStep) {
  LoopingSession s;
  for (int i = 0; i <= 1000; ++i) s.playFrame();
  const json state = s.stateAfter(-1);
  EXPECT_EQ(state["panel"]["sounds"][0]["variable"], "a");
  EXPECT_EQ(state["sounds"][0]["state"], "looping");
  const double from = state["timeline"]["from"].get<double>();
  EXPECT_NEAR(from, 60.1, 1e-9);
  const std::vector<double> starts = spanStarts(state);
  ASSERT_EQ(starts.size(), 200u);  // those that end in the stretch: from 60.0 s to 99.8 s
  EXPECT_DOUBLE_EQ(starts.front(), 60.0);

  // The heading, then what `run` replays.
  const std::string script = s.session.script();
  EXPECT_EQ(script.rfind("# Recorded by vorlanex-panel console on ./Gauges/t.ini", 0), 0u);
  EXPECT_EQ(script.substr(script.find("\nat ") + 1), recordedScript(s.record, ""));
}

// A long session keeps only its last stretch of writes, yet the timeline
// follows every frame's writes and the script holds every step.
TEST(ConsoleSession, WritesOlderThanTheStretchKeptAreLetGoButNoStepIs) {
  LoopingSession s;
  for (int i = 0; i <= 1000; ++i) {
    s.playFrame();
    s.record.forgetBefore(s.record.frames / 10.0 - 5.0);
  }
  // Frames 951 to 1000, the last 5 s: "a" written in each, the volume in every other.
  ASSERT_EQ(s.record.writes.size(), 75u);
  EXPECT_EQ(s.record.forgottenWrites, 1502u - 75u);
  // Followed write by write: the loops still start where the steps put them.
  const std::vector<double> starts = spanStarts(s.stateAfter(-1));
  ASSERT_EQ(starts.size(), 200u);
  EXPECT_DOUBLE_EQ(starts.front(), 60.0);
  EXPECT_DOUBLE_EQ(starts.back(), 99.8);
  const std::string script = s.session.script();
  EXPECT_EQ(script.substr(script.find("\nat ") + 1), recordedScript(s.record, ""));
  EXPECT_EQ(s.record.events.size(), 1001u);
}

// The log file has every line the terminal has; the record, the last writes.
TEST(LivePanel, TheLogFileHoldsEveryLineWhileTheRecordKeepsItsLastStretch) {
  test::TempFolder root;
  root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\nErrorFlag=-1\n[Sounds]\nSound00=./none.wav,100\n"
                             "[LVars]\nLvar00=a\n");
  LoopingSession s;
  LivePanel panel(test::modulePath(), AudioRequest{}, {1000.0, "./Gauges/t.ini", test::globalDllPath()});
  std::FILE* terminal = std::fopen("terminal.log", "w");
  std::FILE* log = std::fopen("session.log", "w");
  panel.keepLog(log, 0.1);
  // Each frame plays the missing sound: the page's step, the module's error value.
  int frames = 0;
  panel.play(s.session, terminal, [&] {
    return s.session.act(R"({"do":"set","sound":0,"value":1})").status != 200 || ++frames > 300;
  });
  std::fclose(terminal);
  std::fclose(log);
  std::stringstream logged, printed;
  logged << std::ifstream("session.log").rdbuf();
  printed << std::ifstream("terminal.log").rdbuf();
  EXPECT_EQ(logged.str(), printed.str());
  int errorWrites = 0;
  for (std::string line; std::getline(logged, line);) {
    errorWrites += line.find("a                               1 -> -1") != std::string::npos;
  }
  const RunRecord& record = panel.record();
  EXPECT_EQ(errorWrites, record.frames);
  EXPECT_EQ(record.events.size(), static_cast<std::size_t>(record.frames));
  EXPECT_GT(record.forgottenWrites, 0u);
  EXPECT_GE(record.writes.front().time, (record.frames - 1) / 1000.0 - 0.1);
}

// Replayed from anywhere, the script needs every option the session's frames
// depended on.
TEST(ConsoleSession, TheReplayCommandGivesEveryOptionOfTheSession) {
  ConsoleRequest request;
  request.parameters = "./Gauges/t.ini";
  request.root = "/sims/FS 2004";
  request.framesPerSecond = 30.0;
  EXPECT_EQ(replayCommand(request),
            "vorlanex-panel run ./Gauges/t.ini THIS_FILE --root \"/sims/FS 2004\" --fps 30");
  request.modulePath = "/m/Vorlanex_sound.gau";
  request.globalDllPath = "/g/GLOBAL.DLL";
  request.globalDllNamed = true;
  EXPECT_EQ(replayCommand(request),
            "vorlanex-panel run ./Gauges/t.ini THIS_FILE --root \"/sims/FS 2004\" --fps 30 "
            "--module /m/Vorlanex_sound.gau --global-dll /g/GLOBAL.DLL");
}

}  // namespace
}  // namespace vorlanex::tool
