// What the sound device made audible, for tests that run on both builds:
// natively the engine's mix on its virtual clock, under Wine what DirectSound
// played, recorded in real time into the file scripts/wine-run.sh names.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace vorlanex::test {

// Output frames are float stereo at this rate on both builds.
constexpr double kOutputRate = 48000.0;

class SoundOutput {
 public:
  // Natively: the engine starts afresh on its virtual clock, mixing into
  // memory. Under Wine: the recording, which runs from the program's start.
  SoundOutput();

  // False under Wine when the program runs without a capture file.
  bool capturing() const;

  // Frames heard so far: a mark to take what is heard after it.
  std::size_t mark() const;

  // Lets sound time pass until `condition` holds: natively the virtual clock
  // moves a millisecond at a time, under Wine real time passes. False when
  // `limitSeconds` of that time went by first.
  bool waitUntil(const std::function<bool()>& condition, double limitSeconds) const;

  // Natively moves the virtual clock on by `seconds`; under Wine lets that
  // much real time pass. Only for tests that look at what is heard afterwards.
  void pass(double seconds) const;

  // Interleaved left/right frames heard since `from`, waiting (up to
  // `limitSeconds`) until at least `frames` of them are there.
  std::vector<float> heardSince(std::size_t from, std::size_t frames, double limitSeconds) const;
};

// A buffer of the sound device as the engine shows it natively. Under Wine
// DirectSound's buffers are the module's own business: none are shown.
struct DeviceBuffer {
  unsigned status;  // DSBSTATUS bits
  int volume;
  int pan;
  unsigned position;  // play cursor in bytes
};
bool deviceVisible();
std::vector<DeviceBuffer> deviceBuffers();

// Natively, the device loses every buffer it holds, and then either never
// gives them back (every Restore fails) or gives them back but fails the
// refill's Lock. False under Wine, whose DirectSound loses nothing.
enum class BufferLoss { kForGood, kRefillFails };
bool loseEveryBuffer(BufferLoss loss);

// Levels of a stretch of interleaved stereo frames.
struct ChannelLevels {
  double leftDb;   // RMS of a full-scale sine is 0 dB
  double rightDb;
};

// The frames between the first and the last sample louder than -60 dB;
// empty when there is none.
std::vector<float> audiblePart(const std::vector<float>& frames);

// Levels over the middle half of the audible part (leaving out where a
// resampler or a mixer's ramp might shape the edges).
ChannelLevels steadyLevels(const std::vector<float>& frames);

}  // namespace vorlanex::test
