// The module's sound buffers through its own functions, on the device of the
// build: our engine natively, DirectSound under Wine, with what is heard
// taken from the engine's mix or from Wine's capture file.
#include "audio/sound_buffers.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "audio/audio_device.h"
#include "support/sine_wave.h"
#include "support/sound_output.h"
#include "support/temp_folder.h"

namespace vorlanex {
namespace {

// The sounds and the device under test, as a module state holds them.
constexpr int kSounds = 100;
SoundBuffer sounds[kSounds];
IDirectSound* device = nullptr;

using test::SineFile;

constexpr double kLimit = 20.0;  // seconds: generous, for a loaded machine under Wine

class SoundBuffers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(openDevice(device), kOk);
    output_ = std::make_unique<test::SoundOutput>();
  }
  void TearDown() override {
    for (int i = 0; i < 4; ++i) releaseSound(sounds[i]);
    closeDevice(device);
  }

  // The path of a new file holding `sine`, valid for the whole test.
  const char* write(const SineFile& sine) {
    const std::string name = "Sound/s" + std::to_string(paths_.size()) + ".wav";
    root_.write(name, test::sineWave(sine));
    return paths_.emplace_back("./" + name).c_str();
  }

  static DWORD position(int index) {
    DWORD play = 0;
    DWORD write = 0;
    sounds[index].buffer->GetCurrentPosition(&play, &write);
    return play;
  }

  test::TempFolder root_;
  std::unique_ptr<test::SoundOutput> output_;
  std::deque<std::string> paths_;
};

TEST_F(SoundBuffers, OneShotPlaysUntilItsLengthHasPassed) {
  ASSERT_EQ(loadSound(sounds[0], device, write({1, 22050, 16, 0.25})), kOk);
  EXPECT_EQ(playState(sounds[0]), PlayState::kStopped);
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  EXPECT_EQ(playState(sounds[0]), PlayState::kPlaying);
  ASSERT_TRUE(output_->waitUntil([] { return playState(sounds[0]) == PlayState::kStopped; }, kLimit));
  EXPECT_EQ(position(0), 0u) << "a one-shot that ran to its end starts again from the start";
}

TEST_F(SoundBuffers, StopWithoutRewindResumesWhereItStoppedAndWithRewindStartsOver) {
  const SineFile sine{1, 22050, 16, 2.0};
  ASSERT_EQ(loadSound(sounds[0], device, write(sine)), kOk);
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  ASSERT_TRUE(output_->waitUntil([] { return position(0) > 8000; }, kLimit));

  stopSound(sounds[0], false);
  EXPECT_EQ(playState(sounds[0]), PlayState::kStopped);
  const DWORD stoppedAt = position(0);
  EXPECT_GT(stoppedAt, 8000u);
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  EXPECT_GE(position(0), stoppedAt) << "resumed, not started over";

  stopSound(sounds[0], true);
  EXPECT_EQ(playState(sounds[0]), PlayState::kStopped);
  EXPECT_EQ(position(0), 0u);
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  EXPECT_LT(position(0), stoppedAt) << "started over from the beginning";
}

TEST_F(SoundBuffers, LoopGoesOnPastItsLength) {
  ASSERT_EQ(loadSound(sounds[0], device, write({1, 22050, 16, 0.1})), kOk);
  ASSERT_EQ(playSound(sounds[0], true), kOk);
  // The play cursor runs back to the start at least once: the sound went on
  // past its end.
  DWORD last = position(0);
  bool wrapped = false;
  ASSERT_TRUE(output_->waitUntil(
      [&] {
        const DWORD now = position(0);
        wrapped = wrapped || now < last;
        last = now;
        return wrapped;
      },
      kLimit));
  EXPECT_EQ(playState(sounds[0]), PlayState::kPlaying);
  DWORD status = 0;
  sounds[0].buffer->GetStatus(&status);
  EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
}

TEST_F(SoundBuffers, EachFileGetsABufferOfItsOwnFormatAndExactDataSize) {
  const SineFile files[] = {{1, 22050, 16, 0.3}, {2, 44100, 8, 0.2}, {2, 11025, 16, 0.5}};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(loadSound(sounds[i], device, write(files[i])), kOk);
    WAVEFORMATEX format{};
    DWORD written = 0;
    ASSERT_EQ(sounds[i].buffer->GetFormat(&format, sizeof format, &written), DS_OK);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, files[i].channels);
    EXPECT_EQ(format.nSamplesPerSec, files[i].rate);
    EXPECT_EQ(format.wBitsPerSample, files[i].bits);
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(sounds[i].buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, test::sineDataBytes(files[i]));
    EXPECT_EQ(caps.dwFlags & 0xC2u, 0xC2u) << "static, with pan and volume controls";
  }
}

// The device's volume and pan law, heard: -600 is 6 dB down on both sides;
// pan -2000 takes the right side a further 20 dB down and leaves the left.
TEST_F(SoundBuffers, VolumeAndPanAreHeardAsTheDeviceLawSays) {
  if (!output_->capturing()) GTEST_SKIP() << "no capture file: run through ctest";
  struct Case {
    LONG volume;
    LONG pan;
    double left;
    double right;
  } const cases[] = {{0, 0, 0.0, 0.0}, {-600, 0, -6.0, -6.0}, {-600, -2000, -6.0, -26.0},
                     {-1000, 1500, -25.0, -10.0}};
  ASSERT_EQ(loadSound(sounds[0], device, write({1, 22050, 16, 0.4})), kOk);
  for (const Case& c : cases) {
    ASSERT_EQ(setVolume(sounds[0], c.volume), DS_OK);
    ASSERT_EQ(setPan(sounds[0], c.pan), DS_OK);
    const std::size_t from = output_->mark();
    ASSERT_EQ(playSound(sounds[0], false), kOk);
    ASSERT_TRUE(output_->waitUntil([] { return playState(sounds[0]) == PlayState::kStopped; }, kLimit));
    const std::size_t length = static_cast<std::size_t>(0.4 * test::kOutputRate);
    const test::ChannelLevels levels =
        test::steadyLevels(output_->heardSince(from, length + 4800, kLimit));
    EXPECT_NEAR(levels.leftDb, c.left, 0.2) << c.volume << " " << c.pan;
    EXPECT_NEAR(levels.rightDb, c.right, 0.2) << c.volume << " " << c.pan;
  }
}

TEST_F(SoundBuffers, StereoSourcesFeedEachSideFromItsOwnChannel) {
  if (!output_->capturing()) GTEST_SKIP() << "no capture file: run through ctest";
  ASSERT_EQ(loadSound(sounds[0], device, write({2, 44100, 16, 0.4})), kOk);
  ASSERT_EQ(setPan(sounds[0], 2000), DS_OK);
  const std::size_t from = output_->mark();
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  ASSERT_TRUE(output_->waitUntil([] { return playState(sounds[0]) == PlayState::kStopped; }, kLimit));
  const test::ChannelLevels levels = test::steadyLevels(
      output_->heardSince(from, static_cast<std::size_t>(0.45 * test::kOutputRate), kLimit));
  EXPECT_NEAR(levels.leftDb, -20.0, 0.2);
  EXPECT_NEAR(levels.rightDb, 0.0, 0.2);
}

}  // namespace
}  // namespace vorlanex
