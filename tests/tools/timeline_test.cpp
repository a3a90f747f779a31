// The timeline's story of a run, told from the module's writes and the
// script's steps.
#include "timeline.h"
#include "timeline_svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <tuple>

namespace vorlanex::tool {
namespace {

struct Story {
  SoundTable table{};
  std::vector<Step> steps;
  RunRecord record{10.0, 15, {}, {}};

  Story() {
    table.soundCount = 2;
    table.errorValue = -1;
    std::strcpy(table.slots[0].varName, "a");
    std::strcpy(table.slots[1].varName, "b");
    std::strcpy(table.stopAll.varName, "stop");
    steps.reserve(16);  // events point into it
  }
  void step(int frame, Action action, const char* variable = "", double value = 0,
            bool passed = true) {
    steps.push_back(variableStep(action, variable, value));
    steps.back().line = frame;
    record.events.push_back({frame, frame / 10.0, &steps.back(), passed, 0.0});
    // The script's writes are in the record with the module's.
    if (action == Action::kSet) {
      record.writes.push_back({frame, frame / 10.0, variable, 0.0, value, "",
                               {Writer::Kind::kScript, {"", "s.txt", frame, ""}}});
    }
  }
  void write(int frame, const char* name, double oldValue, double newValue,
             const char* during = "") {
    record.writes.push_back({frame, frame / 10.0, name, oldValue, newValue, during});
  }
};

// Two sounds played, stopped, stopped by stop-all and missing their file,
// with the simulator's sound switched off and GLOBAL.DLL let go.
void tellFullStory(Story& s) {
  s.step(0, Action::kSet, "a", 1);
  s.write(1, "zeb_volume_played", 0, 80, "a");  // a starts once at 80 %
  s.step(3, Action::kSoundOff);
  s.write(5, "a", 1, 0);  // the one-shot ended
  s.step(6, Action::kSet, "b", -500002);
  s.write(7, "zeb_volume_played", 80, 100, "b");  // b loops, panned left
  s.step(8, Action::kSet, "b", 3);
  s.write(8, "b", 3, 2);  // code 3 reports the status: still looping
  s.step(10, Action::kSet, "stop", 1);
  s.write(10, "b", 2, 0);  // stop-all
  s.write(10, "stop", 1, 0);
  s.step(11, Action::kSet, "a", 1);
  s.write(11, "a", 1, -1);  // the file is missing
  s.write(12, "a", -1, -1);
  s.step(12, Action::kUnloadGlobal);
  s.step(13, Action::kExpect, "a", 0, false);
}

TEST(Timeline, FollowsEachSoundThroughPlaysStopsAndMissingFiles) {
  Story s;
  tellFullStory(s);
  const Timeline t = buildTimeline(s.table, s.record, true);

  EXPECT_DOUBLE_EQ(t.duration, 1.5);
  ASSERT_EQ(t.sounds.size(), 2u);
  const std::vector<SoundSpan>& a = t.sounds[0].spans;
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].activity, SoundActivity::kOnce);
  EXPECT_DOUBLE_EQ(a[0].start, 0.1);
  EXPECT_DOUBLE_EQ(a[0].end, 0.5);
  EXPECT_EQ(a[0].volumePercent, 80.0);
  EXPECT_EQ(a[1].activity, SoundActivity::kMissing);
  EXPECT_DOUBLE_EQ(a[1].start, 1.1);
  EXPECT_DOUBLE_EQ(a[1].end, 1.5);
  EXPECT_EQ(t.sounds[0].values.size(), 4u);  // 1, 0, 1, -1: repeated writes are no change

  const std::vector<SoundSpan>& b = t.sounds[1].spans;
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0].activity, SoundActivity::kLooping);
  EXPECT_EQ(b[0].pan, -5000);
  EXPECT_DOUBLE_EQ(b[0].start, 0.7);
  EXPECT_DOUBLE_EQ(b[0].end, 1.0);

  EXPECT_EQ(t.stopAll, std::vector<double>{1.0});
  ASSERT_EQ(t.simulatorSound.size(), 3u);
  EXPECT_EQ(t.simulatorSound[0].setting, SwitchSetting::kOn);
  EXPECT_EQ(t.simulatorSound[1].setting, SwitchSetting::kOff);
  EXPECT_DOUBLE_EQ(t.simulatorSound[1].end, 1.2);
  EXPECT_EQ(t.simulatorSound[2].setting, SwitchSetting::kAbsent);
  ASSERT_EQ(t.expects.size(), 1u);
  EXPECT_FALSE(t.expects[0].passed);
  EXPECT_EQ(t.expects[0].text, "expect a 0: found 0");
}

TEST(Timeline, AStopFromTheScriptEndsAPlayAtOnceAndSharedVariablesMoveTogether) {
  Story s;
  std::strcpy(s.table.slots[1].varName, "a");  // both sounds on "a"
  s.step(0, Action::kSet, "a", 2);
  s.write(0, "zeb_volume_played", 0, 100, "a");
  s.step(4, Action::kSet, "a", 100);  // code 0: stop
  const Timeline t = buildTimeline(s.table, s.record, false);
  for (const SoundLane& lane : t.sounds) {
    ASSERT_EQ(lane.spans.size(), 1u);
    EXPECT_EQ(lane.spans[0].activity, SoundActivity::kLooping);
    EXPECT_DOUBLE_EQ(lane.spans[0].end, 0.4);
  }
  ASSERT_EQ(t.simulatorSound.size(), 1u);
  EXPECT_EQ(t.simulatorSound[0].setting, SwitchSetting::kAbsent);
}

// A gauge's writes play and stop sounds as the script's do, and are marked
// with the gauge.
TEST(Timeline, WritesByGaugesAreMarkedWithTheGauge) {
  Story s;
  const Writer gauge{Writer::Kind::kGauge, {"G!g", "G/g.xml", 7, "1 (>L:a, number)"}};
  s.record.writes.push_back({2, 0.2, "a", 0, 1, "", gauge});
  s.write(3, "zeb_volume_played", 0, 100, "a");
  s.record.writes.push_back({5, 0.5, "stop", 0, 1, "", gauge});
  s.write(5, "a", 1, 0);
  const Timeline t = buildTimeline(s.table, s.record, true);
  ASSERT_EQ(t.sounds[0].values.size(), 2u);
  EXPECT_EQ(t.sounds[0].values[0].byGauge, "G!g, G/g.xml:7");
  EXPECT_FALSE(t.sounds[0].values[0].byModule);
  EXPECT_EQ(t.sounds[0].values[1].byGauge, "");
  ASSERT_EQ(t.sounds[0].spans.size(), 1u);
  EXPECT_DOUBLE_EQ(t.sounds[0].spans[0].end, 0.5);
  EXPECT_EQ(t.stopAll, std::vector<double>{0.5});
  const std::string svg = timelineSvg(t, "t");
  EXPECT_NE(svg.find("class=\"value gauge\">1<title>written by G!g, G/g.xml:7</title>"),
            std::string::npos);
}

// A timeline's items, a line each, in order, to hold two timelines to the
// same story however they were taken.
std::vector<std::string> items(const Timeline& t) {
  std::vector<std::string> lines;
  auto add = [&](const auto&... parts) {
    std::ostringstream line;
    (line << ... << parts);
    lines.push_back(line.str());
  };
  for (const SoundLane& lane : t.sounds) {
    for (const SoundSpan& s : lane.spans) {
      add(lane.variable, " ", int(s.activity), " ", s.start, "-", s.end, " pan ", s.pan, " at ",
          s.volumePercent.value_or(-1));
    }
    for (const ValueMark& m : lane.values) add(lane.variable, "=", m.value, " ", m.time, m.byModule);
  }
  for (const SwitchSpan& s : t.simulatorSound) add("sound ", int(s.setting), " ", s.start, "-", s.end);
  for (double time : t.stopAll) add("stop all ", time);
  for (const ExpectMark& e : t.expects) add(e.time, " ", e.text, e.passed);
  return lines;
}

// A live view follows the run a frame at a time and takes what ended after
// each: put together, it tells the story of the whole run.
TEST(Timeline, FollowedFrameByFrameItTellsTheSameStory) {
  Story s;
  tellFullStory(s);
  std::vector<std::string> whole = items(buildTimeline(s.table, s.record, true));
  TimelineBuilder builder(s.table, true);
  RunRecord soFar = s.record;
  std::vector<std::string> taken;
  for (int frame = 0; frame < s.record.frames; ++frame) {
    soFar.frames = frame + 1;
    builder.follow(soFar);
    if (frame == 8) {  // b loops, panned left, since frame 7
      const std::optional<SoundSpan> open = builder.openSpan(1, 0.9);
      ASSERT_TRUE(open);
      EXPECT_EQ(std::tie(open->activity, open->start, open->pan),
                std::make_tuple(SoundActivity::kLooping, 0.7, -5000));
      EXPECT_FALSE(builder.openSpan(0, 0.9));
      EXPECT_EQ(builder.openSwitchSpan(0.9).setting, SwitchSetting::kOff);
    }
    for (std::string& item : items(builder.takeEnded())) taken.push_back(std::move(item));
  }
  // What was still open when the run ended.
  for (std::string& item : items(builder.finish(1.5))) taken.push_back(std::move(item));
  std::sort(whole.begin(), whole.end());
  std::sort(taken.begin(), taken.end());
  EXPECT_EQ(taken, whole);
}

}  // namespace
}  // namespace vorlanex::tool
