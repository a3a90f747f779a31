// What the engine's tests share: a fresh engine and device per test, wave
// formats, buffers filled with a signal, and measures of the mixed output.
#pragma once

#include <gtest/gtest.h>
#include <vorlanex_engine/dsound.h>
#include <vorlanex_engine/engine_control.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace vorlanex::engine::test {

constexpr DWORD kControls = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

// A sample encoding as a format block gives it.
struct Encoding {
  WORD bits;
  bool isFloat;
};

WAVEFORMATEX waveFormat(Encoding encoding, WORD channels, DWORD rate);
// The extensible block with the PCM or float sub-format.
WAVEFORMATEXTENSIBLE extensibleFormat(Encoding encoding, WORD channels, DWORD rate);

// Frames of `signal(frame, channel)` (full scale 1.0) encoded as `format`
// says, integers rounded and kept inside their range.
using Signal = std::function<double(std::size_t frame, unsigned channel)>;
std::vector<std::uint8_t> encode(const WAVEFORMATEX& format, std::size_t frames,
                                 const Signal& signal);

// A sine of `hertz` at `rate`, of amplitude `peak`, starting at `phase`.
Signal sine(double hertz, double rate, double peak = 1.0, double phase = 0.0);

// One channel of interleaved stereo output.
std::vector<float> channel(const std::vector<float>& stereo, unsigned which);
double rmsDecibels(const std::vector<float>& samples, std::size_t first, std::size_t count);
// Frequency from the rising zero crossings between `first` and `first + count`.
double frequencyOf(const std::vector<float>& samples, std::size_t first, std::size_t count);
double decibels(double amplitude);

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Releases what the test made and checks that nothing else is left.
  void TearDown() override;

  // A buffer the test's teardown releases; fails the test when refused.
  IDirectSoundBuffer* create(const WAVEFORMATEX& format, DWORD bytes, DWORD flags = kControls);
  // A buffer of `frames` frames of `signal`, locked, filled and unlocked.
  IDirectSoundBuffer* load(const WAVEFORMATEX& format, std::size_t frames, const Signal& signal,
                           DWORD flags = kControls);
  // Gives up the test's reference early; teardown skips it.
  void release(IDirectSoundBuffer* buffer);
  // The mix of the next `frames` frames.
  std::vector<float> mix(std::uint64_t frames);
  DWORD status(IDirectSoundBuffer* buffer);
  DWORD position(IDirectSoundBuffer* buffer);

  IDirectSound* device_ = nullptr;

 private:
  std::vector<IDirectSoundBuffer*> made_;
};

}  // namespace vorlanex::engine::test
