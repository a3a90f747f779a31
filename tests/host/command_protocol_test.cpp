// The variable protocol as XML gauges see it: numbers written into a sound's
// variable, frames run by the host, values the module writes back. The same
// source runs natively on the engine's virtual clock (where timing is exact
// and the device's buffers can be looked at) and under Wine on DirectSound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/sound_panel.h"
#include "wave_bytes.h"

namespace vorlanex {
namespace {

using test::SineFile;
using test::SoundPanel;
using test::soundVariable;

constexpr unsigned kPlaying = 1;
constexpr unsigned kLooping = 4;
const char* const kVolumePlayed = "zeb_volume_played";
const char* const kMasterVolume = "zeb_xml_sound_volume";
const char* const kIndicator = "zeb_sound_indicator";
const std::string kSound0 = soundVariable(0);

// Half a second: nine frames at the simulator's 18 frames a second.
const SineFile kHalfSecond{1, 22050, 16, 0.5};

std::string iniWith(int sounds, const std::string& more = "") {
  return "[Config]\nMaxSounds=" + std::to_string(sounds) + "\n" + more;
}

// A panel of one sound, zeb_xml_id_00, half a second long, set up.
void installOneSound(SoundPanel& panel) {
  panel.writeIni(iniWith(1));
  panel.writeSound(0, kHalfSecond);
  panel.install();
}

// The tests that look at the device's buffers as well run twice: on the
// variables alone, on both builds, and with the buffers, which only the
// native build shows (under Wine DirectSound's buffers are the module's own
// business), so that that run is told as skipped there.
enum class Seen { kVariablesOnly, kWithBuffers };

class CommandProtocolAndBuffers : public ::testing::TestWithParam<Seen> {
 protected:
  void SetUp() override {
    if (lookAtBuffers() && !test::deviceVisible()) {
      GTEST_SKIP() << "DirectSound under Wine shows none of its buffers";
    }
  }
  bool lookAtBuffers() const { return GetParam() == Seen::kWithBuffers; }
};

INSTANTIATE_TEST_SUITE_P(Protocol, CommandProtocolAndBuffers,
                         ::testing::Values(Seen::kVariablesOnly, Seen::kWithBuffers),
                         [](const ::testing::TestParamInfo<Seen>& info) {
                           return info.param == Seen::kWithBuffers ? "WithBuffers"
                                                                   : "VariablesOnly";
                         });

struct ValueCase {
  const char* name;
  double value;
  bool plays;
  bool loops;
  int pan;
};

TEST_P(CommandProtocolAndBuffers, NumbersDecodeIntoCommandAndPan) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const ValueCase cases[] = {
      {"1.9 plays once", 1.9, true, false, 0},
      {"-1 plays once, centred", -1, true, false, 0},
      {"99 does nothing", 99, false, false, 0},
      {"100 is a stop", 100, false, false, 0},
      {"205 does nothing", 205, false, false, 0},
      {"10001 plays once with pan 100", 10001, true, false, 100},
      {"-500002 loops with pan -5000", -500002, true, true, -5000},
      {"1000101 plays once, held full right", 1000101, true, false, 10000},
      {"-2000002 loops, held full left", -2000002, true, true, -10000},
      {"4294967297 plays once", 4294967297.0, true, false, 0},
      {"NaN is a stop", std::nan(""), false, false, 0},
      {"infinity is a stop", kInfinity, false, false, 0},
      {"minus infinity is a stop", -kInfinity, false, false, 0},
      {"2^63 is a stop", 9223372036854775808.0, false, false, 0},
      {"-2^31 is no command", -2147483648.0, false, false, 0},
  };
  for (const ValueCase& c : cases) {
    SoundPanel panel;
    installOneSound(panel);
    panel.set(kVolumePlayed, -1);
    panel.set(kSound0, c.value);
    panel.frames(1);
    EXPECT_EQ(panel.get(kVolumePlayed), c.plays ? 100 : -1) << c.name;
    if (lookAtBuffers()) {
      const auto buffers = test::deviceBuffers();
      ASSERT_EQ(buffers.size(), c.plays ? 1u : 0u) << c.name << ": loaded only when asked to play";
      if (c.plays) {
        EXPECT_EQ(buffers[0].pan, c.pan) << c.name;
        EXPECT_EQ(buffers[0].status, c.loops ? kPlaying | kLooping : kPlaying) << c.name;
      }
    }
    if (c.plays && !c.loops) {
      EXPECT_TRUE(panel.framesUntil([&] { return panel.get(kSound0) == 0; })) << c.name;
    } else {
      panel.frames(12);
      const double held = panel.get(kSound0);
      EXPECT_TRUE(std::isnan(c.value) ? std::isnan(held) : held == c.value)
          << c.name << ": holds " << held;
    }
  }
}

TEST_P(CommandProtocolAndBuffers, OneShotHandsItsVariableBackOneFrameAfterItEndsThenPlaysAgain) {
  SoundPanel panel;
  installOneSound(panel);
  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kSound0), 1);
  if (lookAtBuffers()) {
    // Nine frames of sound: the variable keeps 1 until the frame after.
    panel.frames(8);
    EXPECT_EQ(panel.get(kSound0), 1);
    EXPECT_EQ(test::deviceBuffers()[0].status, 0u) << "the sound has just ended";
    panel.frames(1);
    EXPECT_EQ(panel.get(kSound0), 0);
  } else {
    ASSERT_TRUE(panel.framesUntil([&] { return panel.get(kSound0) == 0; }));
  }

  panel.set(kVolumePlayed, -1);
  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kVolumePlayed), 100) << "played again";
  if (lookAtBuffers()) {
    EXPECT_EQ(test::deviceBuffers()[0].status, kPlaying);
    EXPECT_LT(test::deviceBuffers()[0].position, 22050u / 9 * 2) << "from the start";
  }
  EXPECT_TRUE(panel.framesUntil([&] { return panel.get(kSound0) == 0; }));
}

TEST_P(CommandProtocolAndBuffers, ALoopRefusesToPlayOnceAndStopsOnZero) {
  SoundPanel panel;
  installOneSound(panel);
  panel.set(kSound0, 2);
  panel.frames(1);
  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kSound0), 2) << "a running loop writes 2 back";
  panel.frames(20);
  EXPECT_EQ(panel.get(kSound0), 2) << "and goes on past its length";
  panel.set(kSound0, 0);
  panel.frames(1);
  if (lookAtBuffers()) {
    EXPECT_EQ(test::deviceBuffers()[0].status, 0u);
    EXPECT_EQ(test::deviceBuffers()[0].position, 0u) << "rewound";
  }
  panel.set(kVolumePlayed, -1);
  panel.frames(5);
  EXPECT_EQ(panel.get(kVolumePlayed), -1) << "nothing started again";
}

TEST_P(CommandProtocolAndBuffers, AOneShotAskedToLoopFinishesFirstThenLoops) {
  SoundPanel panel;
  installOneSound(panel);
  panel.set(kSound0, 1);
  panel.frames(1);
  panel.set(kSound0, 2);
  panel.set(kVolumePlayed, -1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kVolumePlayed), -1) << "the one-shot goes on";
  if (lookAtBuffers()) {
    EXPECT_EQ(test::deviceBuffers()[0].status, kPlaying);
  }
  ASSERT_TRUE(panel.framesUntil([&] { return panel.get(kVolumePlayed) == 100; }));
  EXPECT_EQ(panel.get(kSound0), 2);
  if (lookAtBuffers()) {
    EXPECT_EQ(test::deviceBuffers()[0].status, kPlaying | kLooping);
  }
}

TEST(CommandProtocol, AMissingFileWritesTheErrorValueAndIsLookedForOnlyWhileAsked) {
  for (const int errorValue : {-1, 0}) {
    SoundPanel panel;
    panel.writeIni(iniWith(1, "ErrorFlag=" + std::to_string(errorValue) + "\n"));
    panel.install();
    panel.set(kSound0, 0);
    panel.frames(2);
    EXPECT_EQ(panel.get(kSound0), 0) << "a stop never looks for the file";

    panel.set(kSound0, 1);
    panel.frames(1);
    EXPECT_EQ(panel.get(kSound0), errorValue);
    // The file turns up: with -1 the variable still asks (code 1), so the
    // next frame finds and plays it; with 0 the sound rests until asked again.
    panel.writeSound(0, kHalfSecond);
    panel.set(kVolumePlayed, -1);
    panel.frames(1);
    EXPECT_EQ(panel.get(kVolumePlayed), errorValue == -1 ? 100 : -1) << errorValue;
    if (errorValue == 0) {
      panel.set(kSound0, 1);
      panel.frames(1);
      EXPECT_EQ(panel.get(kVolumePlayed), 100);
    }
  }
}

TEST(CommandProtocol, AFileThatCannotPlayWritesTheErrorValueInsteadOfHangingTheGauge) {
  for (const int errorValue : {-1, 0}) {
    SoundPanel panel;
    panel.writeIni(iniWith(2, "ErrorFlag=" + std::to_string(errorValue) + "\n"));
    panel.root.write("Sound/zeb/zeb_xml_00.wav", "this is no WAV file");
    // 12-bit samples: the device refuses the format.
    panel.root.write("Sound/zeb/zeb_xml_01.wav",
                     wavebytes::wave(wavebytes::formatFields(1, 1, 22050, 12),
                                     wavebytes::samplePattern(3000)));
    panel.install();
    for (int i = 0; i < 2; ++i) panel.set(soundVariable(i), 1);
    panel.frames(1);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(panel.get(soundVariable(i)), errorValue) << i;
    panel.set(soundVariable(1), 2);
    panel.frames(1);
    EXPECT_EQ(panel.get(soundVariable(1)), errorValue) << "nor can it loop";
  }
}

// Code 4 reports a sound's volume in percent into the master variable.
double reportedVolume(SoundPanel& panel, const std::string& variable) {
  panel.set(kMasterVolume, -1);
  panel.set(variable, 4);
  panel.frames(1);
  return panel.get(kMasterVolume);
}

TEST(CommandProtocol, MasterVolumeIsAppliedWhileTheSoundIsOnAndKeptWhileItIsOff) {
  SoundPanel panel;
  installOneSound(panel);
  panel.set(kSound0, 2);
  panel.frames(1);
  panel.frames(1);  // the switch has been seen: on
  struct Step {
    double master;
    double reported;
  } const steps[] = {{150, 100}, {50, 50}, {-20, 0}, {80, 80}};
  for (const Step& step : steps) {
    panel.set(kMasterVolume, step.master);
    panel.set(kSound0, 3);
    panel.frames(1);
    EXPECT_EQ(panel.get(kSound0), 2) << "the variable shows the sound's state";
    EXPECT_EQ(reportedVolume(panel, kSound0), step.reported) << step.master;
  }

  panel.simulator()->set(0);
  panel.frames(1);
  EXPECT_EQ(reportedVolume(panel, kSound0), 0) << "muted";
  panel.set(kMasterVolume, 50);
  panel.set(kSound0, 3);
  panel.frames(1);
  EXPECT_EQ(reportedVolume(panel, kSound0), 0) << "still muted while the sound is off";
  panel.simulator()->set(1);
  panel.frames(1);
  EXPECT_EQ(reportedVolume(panel, kSound0), 50) << "the volume given while off comes back";
}

TEST(CommandProtocol, ReportedVolumeFollowsHowTheSoundWasLoaded) {
  SoundPanel panel;
  panel.writeIni(iniWith(2));
  panel.writeSound(0, kHalfSecond);
  panel.writeSound(1, kHalfSecond);
  panel.install();
  panel.simulator()->set(0);
  panel.frames(1);
  panel.set(soundVariable(0), 2);  // loaded while the sound is off: muted
  panel.frames(1);
  EXPECT_EQ(reportedVolume(panel, soundVariable(0)), 0);
  // First loaded by code 4: the buffer's own full volume.
  EXPECT_EQ(reportedVolume(panel, soundVariable(1)), 100);
}

TEST(CommandProtocol, VolumePlayedIsTheStoredVolumeOnceTheSwitchIsKnown) {
  SoundPanel panel;
  panel.writeIni(iniWith(1, "[Sounds]\nSound00=./Sound/zeb/zeb_xml_00.wav,80\n"));
  panel.writeSound(0, kHalfSecond);
  panel.install();
  panel.frames(1);
  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kVolumePlayed), 80);
}

TEST_P(CommandProtocolAndBuffers, StopAllStopsWhatPlaysAndLeavesIdleSoundsAlone) {
  struct StopCase {
    double value;
    bool stops;
  } const cases[] = {{1, true}, {0.5, true}, {0, false}, {-1, false}};
  for (const StopCase& c : cases) {
    SoundPanel panel;
    panel.writeIni(iniWith(4));
    for (int i = 0; i < 4; ++i) panel.writeSound(i, {1, 22050, 16, 2.0});
    panel.install();
    panel.set(soundVariable(0), 1);
    panel.set(soundVariable(1), 2);
    panel.set(soundVariable(2), 10002);
    panel.set(soundVariable(3), 4);  // loaded, not playing
    panel.frames(1);
    panel.set(soundVariable(3), 77);
    panel.set("zeb_stop_sounds", c.value);
    panel.frames(1);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(panel.get(soundVariable(i)), c.stops ? 0 : (i == 2 ? 10002 : i + 1)) << c.value;
    }
    EXPECT_EQ(panel.get(soundVariable(3)), 77) << "an idle sound keeps its variable";
    EXPECT_EQ(panel.get("zeb_stop_sounds"), c.stops ? 0 : c.value);
    if (lookAtBuffers()) {
      for (int i = 0; i < 3; ++i) {
        const test::DeviceBuffer buffer = test::deviceBuffers()[static_cast<std::size_t>(i)];
        EXPECT_EQ(buffer.status != 0, !c.stops) << c.value << " sound " << i;
        if (c.stops) {
          EXPECT_EQ(buffer.position, 0u) << "rewound";
        }
      }
    }
    panel.set(kVolumePlayed, -1);
    panel.frames(3);
    EXPECT_EQ(panel.get(kVolumePlayed), -1) << "a stopped sound stays stopped";
  }
}

TEST_P(CommandProtocolAndBuffers, TheSimulatorsSwitchMutesAndRestoresAndIsMirrored) {
  SoundPanel panel;
  panel.writeIni(iniWith(2, "[Sounds]\nSound01=./Sound/zeb/zeb_xml_01.wav,70\n"));
  panel.writeSound(0, {1, 22050, 16, 2.0});
  panel.writeSound(1, {1, 22050, 16, 2.0});
  panel.install();
  panel.set(kIndicator, 7);
  panel.frames(1);
  EXPECT_EQ(panel.get(kIndicator), 1);
  panel.set(soundVariable(0), 2);
  panel.set(soundVariable(1), 2);
  panel.frames(1);

  panel.simulator()->set(0);
  panel.frames(1);
  EXPECT_EQ(panel.get(kIndicator), 0) << "in the same frame";
  EXPECT_EQ(reportedVolume(panel, soundVariable(0)), 0);
  EXPECT_EQ(reportedVolume(panel, soundVariable(1)), 0);
  if (lookAtBuffers()) {
    for (const auto& buffer : test::deviceBuffers()) EXPECT_EQ(buffer.status, kPlaying | kLooping);
  }
  panel.simulator()->set(1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kIndicator), 1);
  EXPECT_EQ(reportedVolume(panel, soundVariable(0)), 100);
  EXPECT_EQ(reportedVolume(panel, soundVariable(1)), 70);
}

TEST(CommandProtocol, TheSimulatorFoundLaterIsMirroredFromTheFrameAfter) {
  SoundPanel panel;
  panel.writeIni(iniWith(1));
  panel.install(false);
  panel.set(kIndicator, 7);
  panel.frames(3);
  EXPECT_EQ(panel.get(kIndicator), 7) << "no simulator, no indicator";
  panel.loadSimulator();
  panel.frames(1);
  EXPECT_EQ(panel.get(kIndicator), 7) << "found in this frame, read from the next";
  panel.frames(1);
  EXPECT_EQ(panel.get(kIndicator), 1);
}

TEST(CommandProtocol, WithNoSoundsStopAllAndTheSwitchStillRun) {
  SoundPanel panel;
  panel.writeIni(iniWith(0));
  panel.install();
  panel.set("zeb_stop_sounds", 1);
  panel.set(kIndicator, 7);
  panel.frames(1);
  EXPECT_EQ(panel.get("zeb_stop_sounds"), 0);
  EXPECT_EQ(panel.get(kIndicator), 1);
}

TEST_P(CommandProtocolAndBuffers, APanelSetUpAgainAfterDisconnectPlaysItsSoundsAgain) {
  SoundPanel panel;
  panel.writeIni(iniWith(2));
  panel.writeSound(0, kHalfSecond);
  panel.writeSound(1, kHalfSecond);
  panel.install();
  panel.set(soundVariable(0), 2);
  panel.set(soundVariable(1), 1);
  panel.frames(1);
  panel.host().disconnect();
  if (lookAtBuffers()) {
    EXPECT_TRUE(test::deviceBuffers().empty());
  }

  // The simulator reopens the panel window: no new post-install.
  panel.host().service(abi::kPreInstall);
  panel.host().service(abi::kConnectToWindow);
  panel.set(kVolumePlayed, -1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kVolumePlayed), 100) << "the loop plays again";
  EXPECT_EQ(panel.get(soundVariable(1)), 0) << "the cut-off one-shot counts as ended";
  if (lookAtBuffers()) {
    ASSERT_EQ(test::deviceBuffers().size(), 2u);
    EXPECT_EQ(test::deviceBuffers()[0].status, kPlaying | kLooping);
  }
}

// Volumes the device would refuse are never stored: a sound is heard at its
// own volume, or silent, whatever the INI file or a gauge gave.
TEST(CommandProtocol, VolumesAreHeldWithinWhatTheDeviceTakes) {
  struct Case {
    const char* name;
    const char* iniVolume;  // after the sound's path
    bool giveMaster;        // code 3 once playing, with this master volume
    double master;
    bool withSimulator;
    double played;    // zeb_volume_played
    double reported;  // code 4 after the simulator's sound went off and on again
  } const cases[] = {
      {"150 % is full volume, after the switch too", ",150", false, 0, true, 100, 100},
      {"-20 % is silent", ",-20", false, 0, true, 0, 0},
      {"a wrapping percent is full volume", ",42949721.76", false, 0, true, 100, 100},
      {"a master volume of NaN is 0 %", "", true, std::nan(""), true, 100, 0},
      {"without GLOBAL.DLL the INI volume counts", ",80", false, 0, false, 80, 80},
      {"without GLOBAL.DLL the master volume counts", "", true, 50, false, 100, 50},
  };
  for (const Case& c : cases) {
    SoundPanel panel;
    panel.writeIni(iniWith(1, std::string("[Sounds]\nSound00=./Sound/zeb/zeb_xml_00.wav") +
                                  c.iniVolume + "\n"));
    panel.writeSound(0, kHalfSecond);
    panel.install(c.withSimulator);
    panel.frames(1);  // the switch is seen, where there is one
    panel.set(kSound0, 2);
    panel.frames(1);
    EXPECT_EQ(panel.get(kVolumePlayed), c.played) << c.name;
    if (c.giveMaster) {
      panel.set(kMasterVolume, c.master);
      panel.set(kSound0, 3);
      panel.frames(1);
    }
    if (c.withSimulator) {
      panel.simulator()->set(0);
      panel.frames(1);
      panel.simulator()->set(1);
      panel.frames(1);
    }
    EXPECT_EQ(reportedVolume(panel, kSound0), c.reported) << c.name;
  }
}

// A WAV file that ends inside its data chunk plays what it holds: a one-shot
// is handed back when that has been heard, not after the declared length.
TEST(CommandProtocol, AFileCutShortPlaysWhatItHolds) {
  const test::SineFile declared{1, 22050, 16, 2.0};
  const std::string whole = test::sineWave(declared);
  SoundPanel panel;
  panel.writeIni(iniWith(1));
  // A quarter second of the two the header declares.
  panel.root.write("Sound/zeb/zeb_xml_00.wav", whole.substr(0, 44 + 22050 / 2));
  panel.install();
  panel.set(kSound0, 1);
  panel.frames(1);
  ASSERT_EQ(panel.get(kVolumePlayed), 100);
  int frames = 0;
  ASSERT_TRUE(panel.framesUntil([&] {
    ++frames;
    return panel.get(kSound0) == 0;
  }));
  // A quarter second is 4.5 frames; two seconds would be 36.
  EXPECT_LE(frames, 10) << "handed back after what the file holds";
}

// A play the device cannot make (a lost buffer that does not come back, or
// one whose refill fails) is told like a missing file, not as played.
TEST(CommandProtocol, APlayTheDeviceCannotMakeIsToldLikeAMissingFile) {
  if (!test::deviceVisible()) GTEST_SKIP() << "DirectSound under Wine loses no buffer";
  for (const test::BufferLoss loss : {test::BufferLoss::kForGood, test::BufferLoss::kRefillFails}) {
    for (const int errorValue : {-1, 0}) {
      SoundPanel panel;
      panel.writeIni(iniWith(1, "ErrorFlag=" + std::to_string(errorValue) + "\n"));
      panel.writeSound(0, kHalfSecond);
      panel.install();
      panel.set(kSound0, 4);  // loaded, not played
      panel.frames(1);
      test::loseEveryBuffer(loss);
      panel.set(kVolumePlayed, -1);
      panel.set(kSound0, 1);
      panel.frames(1);
      EXPECT_EQ(panel.get(kSound0), errorValue);
      EXPECT_EQ(panel.get(kVolumePlayed), -1) << "nothing was played";
      EXPECT_EQ(test::deviceBuffers()[0].status & kPlaying, 0u);
    }
  }
}

}  // namespace
}  // namespace vorlanex
