// A buffer's play state and cursor against the output clock: one-shots that
// end on time, Stop and Play, positions, loops that run on without a seam.
#include <algorithm>
#include <cmath>

#include "engine/engine_fixture.h"

namespace vorlanex::engine::test {
namespace {

constexpr Encoding kPcm16{16, false};

Signal level(double value) {
  return [=](std::size_t, unsigned) { return value; };
}

using Playback = EngineTest;

TEST_F(Playback, OneShotEndsWithinAFrameOfItsLength) {
  struct {
    DWORD rate;
    std::size_t frames;
  } cases[] = {{11025, 1001}, {22050, 1000}, {44100, 4410}, {44100, 12345},
               {48000, 480},  {96000, 999},  {8000, 7}};
  for (const auto& c : cases) {
    IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, c.rate), c.frames, level(0.5));
    const double length = c.frames * double{kOutputRate} / c.rate;  // in output frames
    const auto before = static_cast<std::uint64_t>(std::floor(length)) - 1;
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    ASSERT_TRUE(advanceFrames(before));
    EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING) << c.rate << " Hz, " << c.frames;
    ASSERT_TRUE(advanceFrames(2));  // now past its length, or less than a frame short
    EXPECT_EQ(status(buffer), 0u) << c.rate << " Hz, " << c.frames;
    EXPECT_EQ(position(buffer), 0u);
    release(buffer);
  }
}

TEST_F(Playback, PositionFollowsTheClock) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 22050), 44100, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  for (int frame = 1; frame <= 18 * 5; ++frame) {  // 5 seconds of panel frames: 2.5 loops
    ASSERT_TRUE(advance(1.0 / 18));
    const std::uint64_t sourceFrames = elapsedFrames() * 22050 / kOutputRate % 44100;
    ASSERT_EQ(position(buffer), 2 * sourceFrames) << "panel frame " << frame;
  }
  EXPECT_EQ(elapsedFrames(), 5u * kOutputRate);
  EXPECT_EQ(position(buffer), 22050u * 2);
}

TEST_F(Playback, StopKeepsThePositionAndPlayResumes) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 2, 44100), 44100, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  ASSERT_TRUE(advance(0.25));
  ASSERT_EQ(buffer->Stop(), DS_OK);
  EXPECT_EQ(status(buffer), 0u);
  EXPECT_EQ(position(buffer), 11025u * 4);
  const std::vector<float> stopped = mix(4800);
  EXPECT_EQ(std::count(stopped.begin(), stopped.end(), 0.0f), 9600);
  EXPECT_EQ(position(buffer), 11025u * 4);

  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  ASSERT_TRUE(advance(0.5));
  EXPECT_EQ(position(buffer), 33075u * 4);
  ASSERT_TRUE(advance(0.25));
  EXPECT_EQ(status(buffer), 0u);

  // Played again after its end, it starts from the beginning.
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  ASSERT_TRUE(advance(0.5));
  EXPECT_EQ(position(buffer), 22050u * 4);
}

TEST_F(Playback, SetCurrentPosition) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 2, 44100), 4410, level(0.5));
  EXPECT_EQ(buffer->SetCurrentPosition(4410 * 4), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetCurrentPosition(1003), DS_OK);
  EXPECT_EQ(position(buffer), 1000u);  // rounded down to a frame
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  ASSERT_TRUE(advance(0.05));
  ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
  EXPECT_EQ(position(buffer), 0u);
  EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING);
  ASSERT_TRUE(advanceFrames(4799));  // a whole play from the start
  EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING);
  ASSERT_TRUE(advanceFrames(1));
  EXPECT_EQ(status(buffer), 0u);
}

TEST_F(Playback, PlayOnAPlayingBufferOnlyChangesLooping) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 48000), 4800, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  ASSERT_TRUE(advanceFrames(4800 * 3 + 100));
  EXPECT_EQ(position(buffer), 200u);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(position(buffer), 200u);
  EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING);
  ASSERT_TRUE(advanceFrames(4700));
  EXPECT_EQ(status(buffer), 0u);
}

// The loop's last frame runs into its first as the source's own samples do:
// no step between output samples is larger than anywhere else in the tone.
TEST_F(Playback, LoopHasNoSeam) {
  struct {
    DWORD rate;
    WORD channels;
    std::size_t frames;
    double hertz;
  } cases[] = {{22050, 1, 1000, 441}, {44100, 2, 4410, 1000}, {11025, 1, 2205, 250}};
  for (const auto& c : cases) {
    // A whole number of cycles, peaking at the loop point where a cut would show most.
    const Signal tone = sine(c.hertz, c.rate, 0.9, M_PI / 2);
    IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, c.channels, c.rate), c.frames, tone);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const std::vector<float> left = channel(mix(c.frames * 48000 / c.rate * 4), 0);
    double sourceStep = 0;
    for (std::size_t i = 0; i < c.frames; ++i) {
      sourceStep = std::max(sourceStep, std::abs(tone((i + 1) % c.frames, 0) - tone(i, 0)));
    }
    const double toneStep = 0.9 * 2 * std::sin(M_PI * c.hertz / kOutputRate);
    double largest = 0;
    for (std::size_t i = 1000; i + 1 < left.size(); ++i) {  // past the onset, 3 loop points
      largest = std::max<double>(largest, std::abs(left[i + 1] - left[i]));
    }
    EXPECT_LT(largest, sourceStep) << c.rate;
    EXPECT_LT(largest, toneStep * 1.01) << c.rate;
    release(buffer);
  }
}

// Played once, a sound hears silence around it: a burst at one end of the
// buffer rings into nothing at the other end, as it would in a loop.
TEST_F(Playback, OneShotHasSilenceAroundIt) {
  const std::size_t frames = 4410;
  const Signal burstAtEnd = [&](std::size_t i, unsigned) {
    return i < frames / 2 ? 0.0 : std::sin(2 * M_PI * 5000 * i / 44100.0 + 1);
  };
  const Signal burstAtStart = [&](std::size_t i, unsigned c) {
    return burstAtEnd(frames - 1 - i, c);
  };
  for (const bool quietStart : {true, false}) {
    IDirectSoundBuffer* buffer =
        load(waveFormat(kPcm16, 1, 44100), frames, quietStart ? burstAtEnd : burstAtStart);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<float> left = channel(mix(4800), 0);
    const auto quiet = quietStart ? left.begin() : left.end() - 200;
    EXPECT_LT(*std::max_element(quiet, quiet + 200), 1e-4) << (quietStart ? "start" : "end");
    EXPECT_EQ(status(buffer), 0u);
    release(buffer);
  }
}

TEST_F(Playback, SilentBufferStillAdvances) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 24000), 2400, level(0.5));
  ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  const std::vector<float> out = mix(2400);
  EXPECT_EQ(std::count(out.begin(), out.end(), 0.0f), 4800);
  EXPECT_EQ(position(buffer), 1200u * 2);
  mix(2400);
  EXPECT_EQ(status(buffer), 0u);
}

TEST_F(Playback, WithoutSinkPositionsMoveAndNothingIsMixed) {
  useNoSink();
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 22050), 22050, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(advance(10.25));
  EXPECT_EQ(position(buffer), 22050u / 4 * 2);
  EXPECT_TRUE(mixedOutput().empty());
}

TEST_F(Playback, ReleaseWhilePlaying) {
  IDirectSoundBuffer* kept = load(waveFormat(kPcm16, 1, 48000), 4800, level(0.25));
  IDirectSoundBuffer* dropped = load(waveFormat(kPcm16, 2, 48000), 4800, level(0.5));
  ASSERT_EQ(kept->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_EQ(dropped->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(dropped->AddRef(), 2u);
  EXPECT_EQ(dropped->Release(), 1u);
  EXPECT_NEAR(mix(1)[0], 0.75, 1e-3);
  release(dropped);
  EXPECT_EQ(buffers().size(), 1u);
  const std::vector<float> out = mix(4800);
  EXPECT_EQ(std::count(out.begin(), out.end(), 0.25f), 9600);
}

// A buffer holds its device: the caller's last Release of the device leaves
// the buffer usable, and the device goes with the buffer.
TEST_F(Playback, BufferKeepsItsDevice) {
  IDirectSoundBuffer* buffer = create(waveFormat(kPcm16, 1, 22050), 100);
  EXPECT_EQ(device_->Release(), 1u);  // the buffer's hold
  device_ = nullptr;
  EXPECT_EQ(liveDevices(), 1u);
  EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
  release(buffer);
  EXPECT_EQ(liveDevices(), 0u);
}

TEST_F(Playback, ViewShowsEachBuffer) {
  const WAVEFORMATEX format = waveFormat(kPcm16, 2, 44100);
  IDirectSoundBuffer* first = load(format, 4410, level(0.5));
  IDirectSoundBuffer* second = create(waveFormat({8, false}, 1, 11025), 1000, DSBCAPS_CTRLVOLUME);
  ASSERT_EQ(first->SetVolume(-600), DS_OK);
  ASSERT_EQ(first->SetPan(2500), DS_OK);
  ASSERT_EQ(first->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(advanceFrames(480));
  const std::vector<BufferView> views = buffers();
  ASSERT_EQ(views.size(), 2u);
  EXPECT_EQ(views[0].buffer, first);
  EXPECT_EQ(views[0].format.nSamplesPerSec, 44100u);
  EXPECT_EQ(views[0].format.nChannels, 2);
  EXPECT_EQ(views[0].bytes, 4410u * 4);
  EXPECT_EQ(views[0].playPosition, 441u * 4);
  EXPECT_EQ(views[0].status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(views[0].volume, -600);
  EXPECT_EQ(views[0].pan, 2500);
  EXPECT_EQ(views[0].references, 1u);
  EXPECT_EQ(views[1].buffer, second);
  EXPECT_EQ(views[1].flags, DSBCAPS_CTRLVOLUME);
  EXPECT_EQ(views[1].status, 0u);
  BufferView view;
  EXPECT_TRUE(viewBuffer(second, &view));
  EXPECT_EQ(view.format.wBitsPerSample, 8);
  EXPECT_FALSE(viewBuffer(reinterpret_cast<IDirectSoundBuffer*>(&view), &view));
}

}  // namespace
}  // namespace vorlanex::engine::test
